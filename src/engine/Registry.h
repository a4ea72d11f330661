#pragma once
// Registry access by key path. A key path is a root name, a backslash and the
// subkey ("HKEY_CURRENT_USER\Software\Quorix"); a root name alone addresses the
// root key itself. The empty value name is the key's default value.
//
// Every call opens the key it needs and closes it before returning; nothing is
// kept between calls, except the one key of a live HeldKey (below). Paths,
// names and string data cross the registry in the ANSI code page; a path, name
// or text with a character that has no form there is never written as '?' (it
// would address or store something else): readers give Unreadable, writers fail.
//
// The writers return their outcome and do nothing else: what the user sees of
// it (row colours, the log, a message) is up to the caller. A path that names
// no root is no write at all: nothing is changed and the result is false.
#include "engine/RegValue.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace Registry {

// The predefined root named exactly (case matters) HKEY_CLASSES_ROOT,
// HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS, HKEY_PERFORMANCE_DATA,
// HKEY_CURRENT_CONFIG or HKEY_DYN_DATA; nullptr for any other text.
HKEY RootKeyFromName(std::wstring_view name);

struct KeyPathParts {
    HKEY root = nullptr;  // nullptr: the path names no root
    std::wstring subkey;  // empty: the root key itself
};
// Root and subkey of a key path. No root when the path does not start with
// "HKEY_", ends with a backslash, or names a root outside the list above.
KeyPathParts SplitKeyPath(std::wstring_view keyPath);

// Opens the key, or creates it with any missing parents. True when the key is
// there afterwards; false for no root or a key that cannot be created (the
// write that follows then fails on the missing key).
bool CreateKeyPath(std::wstring_view keyPath);

// Readers. Each gives: no value (IsEmpty) when the path names no root;
// Unreadable when the key or value cannot be read; otherwise:
//  - GetStringValue: the stored text up to its first null, whole however long,
//    blanks kept;
//  - GetBinaryValue: the stored bytes as text (Text::TextFromBytes, so
//    Text::BytesFromText gives the bytes back); "" for a zero-length value;
//  - GetDwordValue: the 32-bit value, signed (FFFFFFFF gives -1); a value of
//    more than 4 bytes is Unreadable.
// The stored type is not looked at: the caller picks the reader by the type.
RegValue GetStringValue(std::wstring_view keyPath, std::wstring_view valueName);
RegValue GetBinaryValue(std::wstring_view keyPath, std::wstring_view valueName);
RegValue GetDwordValue(std::wstring_view keyPath, std::wstring_view valueName);

// Writers into an existing key (see CreateKeyPath): true when the value was
// written; false, with the registry left as it was, otherwise (also for a path
// that names no root).
//  - SetStringValue: REG_SZ, the text and its terminating null.
//  - SetExpandStringValue: REG_EXPAND_SZ, whatever the text holds.
//  - SetBinaryValue: REG_BINARY, the code-page bytes of the text (characters
//    made of undecodable bytes give those bytes); an empty or all-blank text
//    writes a zero-length value.
//  - SetDwordValue: REG_DWORD, least significant byte first.
//  - SetRawValue: the bytes as they are, with any type number.
bool SetStringValue(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view data);
bool SetExpandStringValue(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view data);
bool SetBinaryValue(std::wstring_view keyPath, std::wstring_view valueName, std::wstring_view data);
bool SetDwordValue(std::wstring_view keyPath, std::wstring_view valueName, uint32_t data);
bool SetRawValue(std::wstring_view keyPath, std::wstring_view valueName, DWORD type, std::string_view bytes);

// A value whole, whatever its type: type number and bytes as stored. False
// (outputs untouched) for no root or a key or value that cannot be read.
bool GetRawValue(std::wstring_view keyPath, std::wstring_view valueName, DWORD& type, std::string& bytes);

// One key handle for a series of calls on one key. A HeldKey opens its key,
// creating it with any missing parents, with every access the calls here and
// cRegistry's reads, writes and deletes ask for; while it is alive, those calls
// on exactly its root and subkey use that handle instead of opening the key
// again, and CreateKeyPath of its path does nothing more. When the key cannot
// be opened so (no root, no subkey, a text that does not fit the code page, an
// access refused), nothing is held and every call opens the key itself as
// usual. One HeldKey at a time: one made while another is alive holds nothing.
class HeldKey {
public:
    explicit HeldKey(std::wstring_view keyPath);
    ~HeldKey();
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
    bool Held() const { return handle_ != nullptr; }

private:
    friend HKEY HeldHandle(HKEY root, const std::string& subkey);
    HKEY root_ = nullptr;
    std::string subkey_;
    HKEY handle_ = nullptr;
};
// The handle of the live HeldKey when it holds `root` / `subkey` (code-page
// bytes, compared exactly); nullptr otherwise.
HKEY HeldHandle(HKEY root, const std::string& subkey);

}  // namespace Registry
