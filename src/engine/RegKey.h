#pragma once
// Engine-internal helpers shared by Registry and cRegistry: a key handle that
// closes itself, and the conversion of names and data to the bytes the A
// registry functions take.
#include <windows.h>

#include <string>
#include <string_view>

namespace RegInternal {

// An open registry key, closed when the object goes. A predefined root handed
// back by the system for an empty subkey is never closed.
class Key {
public:
    Key() = default;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() { Close(); }

    // RegOpenKeyExA; the system's result code.
    LONG Open(HKEY root, const std::string& subkey, REGSAM access);
    // RegCreateKeyExA (no class, non-volatile, default security): opens the key
    // or creates it with any missing parents.
    LONG Create(HKEY root, const std::string& subkey, REGSAM access);
    // RegCreateKeyA: the same with the system's default access.
    LONG CreateDefault(HKEY root, const std::string& subkey);
    void Close();

    HKEY get() const { return h_; }

private:
    HKEY h_ = nullptr;
};

// The bytes of `text` in the ANSI code page. Characters that Text::TextFromBytes
// made of undecodable bytes turn back into those bytes. False (and `out`
// untouched) when some other character has no form in the code page: writing it
// as '?' would address or store something else.
bool AnsiBytes(std::wstring_view text, std::string& out);

// Queries a value whole: its type and data, the buffer growing until the data
// fits. The system's result code; `type` and `data` are set only on success.
// `firstTry` > 0: a first buffer of that size, saving the size query when the value fits.
LONG QueryWhole(HKEY key, const std::string& valueName, DWORD& type, std::string& data, DWORD firstTry = 0);

}  // namespace RegInternal
