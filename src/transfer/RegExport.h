#pragma once
// The registry file export: tip rows to the bytes of a file the system's
// registry editor imports back to the same values.
//
// One section per key path (first appearance order, key paths matched without
// regard to case), one entry per value name within it (first appearance
// order); a later row for the same entry (name matched without regard to case)
// replaces the earlier one's data in place. Entry names: "@" for the default
// value, else the quoted value name. Entry data by the row:
//   deletes its value (data icon 6)   -
//   0 string                          "text"        (\ and " escaped)
//   3 expandable string               hex(2):..     (the text and its terminator
//                                                    in the file's encoding)
//   1 binary                          hex:01,ab,FF  (pairs as shown, case kept);
//                                     hex:          for a zero-length value
//   2 DWORD                           dword:0000001a (eight digits)
// A string holding a line break, which a quoted string cannot carry, is written
// as hex(1): in the same way as an expandable string.
//
// Rows the editor would refuse or misread are left out and counted: a TypeCode
// other than 0-3, DWORD data that is not hex 0 to FFFFFFFF, binary data that is
// not hex pairs separated by blanks, a key path that names no root or holds a
// line break, a value name holding a line break, and under REGEDIT4 a text
// with a character code page 936 cannot hold. A left-out row adds nothing, not
// even its section.
//
// Files: "REGEDIT4" in the ANSI code page (936), or "Windows Registry Editor
// Version 5.00" in UTF-16LE with a byte-order mark, as the editor writes them.
// Lines end in CR LF; an empty line follows the header and every section.
#include "common/TipRow.h"

#include <string>
#include <vector>

namespace RegExport {

enum class Header { Regedit4, Version5 };
// The header chosen by the export page's argument: "98" the old one, any other
// text the version-5 one.
Header HeaderFor(const std::wstring& strSj);

struct Document {
    std::string bytes;  // the whole file
    int leftOut = 0;    // rows not written (see above)
};

// `rows`: the selected rows in list order, as TipRow::ReadRow gives them.
Document Build(const std::vector<TipRow::Cells>& rows, Header header);

// The message shown after a file was written with rows left out.
std::wstring LeftOutMessage(int leftOut);

}  // namespace RegExport
