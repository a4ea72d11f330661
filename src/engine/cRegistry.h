#pragma once
// The registry access object: set the root, the subkey and the value name (and
// the type before a write), then read, write or delete the value, or list the
// key's value names or subkeys. The fields keep their values between calls, so
// a caller that needs a clean state (no type learnt from an earlier read) uses
// a fresh object. Every key handle lives within one call.
//
// Writes and deletes return their outcome and do nothing else.
//
// Byte values keep a fixed difference in length, both ways, and every caller
// is built to it:
//  - a read of a value of any type but 1, 2, 4, 5 and 7 gives its bytes plus
//    one trailing 0 (a zero-length value reads as {0});
//  - a write with ValueType 3 stores all the bytes given but the last two
//    (callers append two zero bytes); fewer than two bytes is a failure.
#include "engine/RegValue.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class cRegistry {
public:
    HKEY ClassKey = nullptr;  // the root key (HKEY_CURRENT_USER, ...); nullptr: none
    std::wstring SectionKey;  // the subkey under the root; "" is the root itself
    std::wstring ValueKey;    // the value name; "" is the key's default value
    RegValue Default;         // what Value() gives when the value cannot be read
    // Registry type number (REG_SZ = 1, REG_EXPAND_SZ = 2, REG_BINARY = 3,
    // REG_DWORD = 4, REG_DWORD_BIG_ENDIAN = 5, REG_MULTI_SZ = 7, ...): set by a
    // successful Value() read to the stored type; set by the caller before
    // SetValue() to choose how to write.
    DWORD ValueType = 0;

    // What CreateKey, DeleteKey and CreateAdditionalEXEAssociations leave when
    // they fail; number 0 when the last of them succeeded.
    struct Error {
        int32_t number = 0;
        std::wstring source;       // the program's name and ".cRegistry"
        std::wstring description;
    };
    static constexpr int32_t kKeyError = 26001;
    static constexpr int32_t kBadParameterList = static_cast<int32_t>(0x800469ACu);
    static constexpr int32_t kClassNotDefined = static_cast<int32_t>(0x800469ADu);
    const Error& LastError() const { return lastError_; }

    // True when ClassKey\SectionKey can be opened to read values.
    bool KeyExists() const;
    // Creates (or opens) ClassKey\SectionKey. On failure: false and LastError
    // 26001 "Failed to create registry Key: '<SectionKey>".
    bool CreateKey();
    // Deletes ClassKey\SectionKey (a key without subkeys). An empty SectionKey
    // (the root itself) is never deleted. On failure: false and LastError 26001
    // "Failed to delete registry Key: '<root as signed decimal>',Section: '<SectionKey>".
    bool DeleteKey();
    // Deletes the value ValueKey; false when the key cannot be opened or the
    // value cannot be deleted (also when it does not exist).
    bool DeleteValue();

    // The value ValueKey by its stored type, setting ValueType to that type:
    // REG_SZ and REG_MULTI_SZ as text without the terminating null (a multi-string
    // keeps the nulls between its strings); REG_EXPAND_SZ as text with every
    // %name% expanded; REG_DWORD as the signed number; REG_DWORD_BIG_ENDIAN as
    // the number of its bytes reversed; any other type as bytes plus a trailing 0.
    // A key or value that cannot be read gives Default and leaves ValueType.
    RegValue Value();
    // Creates the key when missing and writes `value` by ValueType:
    //  - 1 or 2: text (a number as its decimal text), as REG_EXPAND_SZ when it
    //    holds a %...% pair (IsExpandable), else as REG_SZ;
    //  - 3: bytes, all but the last two (see above);
    //  - 4 or 5: a number, as REG_DWORD;
    //  - anything else, or a value of the wrong kind: nothing, a failure.
    // True when written.
    bool SetValue(const RegValue& value);

    // The value names of the key in the registry's order (the default value,
    // when set, as ""). Always true: a key that cannot be opened has no names.
    // `opened` (when given) tells whether the key was opened: the caller's
    // LiveKeyFlag is "yes" exactly then, "no" otherwise.
    bool EnumerateValues(std::vector<std::wstring>& names, bool* opened = nullptr) const;
    // The names of the key's subkeys. Always true: a key that cannot be opened
    // has no names; `opened` as for EnumerateValues.
    bool EnumerateSections(std::vector<std::wstring>& names, bool* opened = nullptr) const;

    // File-type registration under HKEY_CLASSES_ROOT and HKEY_LOCAL_MACHINE\SOFTWARE\Classes.
    struct ExeAssociation {
        std::wstring exePath;          // quoted when not already
        std::wstring className;
        std::wstring classDescription;
        std::wstring association;      // the extension without its dot
        std::wstring openMenuText;     // "" gives "&Open"
        bool supportPrint = false;
        std::wstring printMenuText;    // "" gives "&Print"
        bool supportNew = false;
        std::wstring newMenuText;      // "" gives "&New"
        bool supportInstall = false;
        std::wstring installMenuText;  // "" gives "&Install " and the extension
        int defaultIconIndex = -1;     // below 0: no DefaultIcon
    };
    void CreateEXEAssociation(const ExeAssociation& a);
    // `items` holds Name, Text, Command triples: each becomes the verb
    // <className>\shell\<Name> with Text, and its \command with Command. A list
    // that is not made of triples (LastError kBadParameterList) or a class that
    // does not exist yet (LastError kClassNotDefined) writes nothing.
    void CreateAdditionalEXEAssociations(const std::wstring& className, const std::vector<std::wstring>& items);

    // The rule that makes a text an expandable string: another "%" stands two or
    // more characters after its first "%" ("%a%" yes; "%%", "50%" no).
    static bool IsExpandable(std::wstring_view text);

private:
    // Writes `text` as the default value of SectionKey under HKEY_CLASSES_ROOT,
    // then under HKEY_LOCAL_MACHINE\SOFTWARE\Classes; the fields are put back after.
    void SetClassesValue(const std::wstring& text);
    static int32_t SwapEndian(int32_t v);
    static std::string ExpandEnvStr(const std::string& text);
    void Fail(int32_t number, const std::wstring& description);

    Error lastError_;
};
