#pragma once
// A file held open by another program for as long as the object lives: the
// share mode says what others may still do with it (0: nothing; FILE_SHARE_READ:
// read it but not write or delete it).
#include <windows.h>

#include <string>

class HeldFile {
public:
    explicit HeldFile(const std::wstring& path, DWORD share = 0, DWORD disposition = OPEN_EXISTING,
                      DWORD access = GENERIC_READ | GENERIC_WRITE)
        : h_(CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    ~HeldFile() { Release(); }
    bool Held() const { return h_ != INVALID_HANDLE_VALUE; }
    void Release() {
        if (Held()) CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};
