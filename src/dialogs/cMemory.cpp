#include "dialogs/cMemory.h"

void cMemory::SetHandle(HGLOBAL h) {
    FreeMemory();
    handle_ = h;
}

void* cMemory::Pointer() {
    if (!handle_) return nullptr;
    if (!pointer_) LockMemory();
    return pointer_;
}

size_t cMemory::Size() const { return handle_ ? GlobalSize(handle_) : 0; }

bool cMemory::AllocateMemory(size_t size, UINT flags) {
    FreeMemory();
    handle_ = GlobalAlloc(flags, size);
    return handle_ != nullptr;
}

bool cMemory::LockMemory() {
    if (!handle_ || pointer_) return false;
    pointer_ = GlobalLock(handle_);
    return pointer_ != nullptr;
}

void cMemory::UnlockMemory() {
    if (handle_ && pointer_) GlobalUnlock(handle_);
    pointer_ = nullptr;
}

void cMemory::FreeMemory() {
    UnlockMemory();
    if (handle_) GlobalFree(handle_);
    handle_ = nullptr;
}

void cMemory::ReleaseDontFreeMemory() {
    UnlockMemory();
    handle_ = nullptr;
}
