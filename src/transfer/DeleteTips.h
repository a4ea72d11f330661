#pragma once
// Deleting tips from a tip file: each tip's record from its section, and only
// after that its option list from the mirror section. Knows nothing of windows:
// it says per name whether the tip is gone, and the window removes those rows
// and reports the rest.
//
// A tip is gone when neither its record nor its option list is left in the
// file. A name the section does not hold is no failure: there is nothing to
// delete. A file that cannot be read (held open by another program) is: no
// tip counts as gone, as nothing tells what the file holds. When a write fails the file keeps the tip whole: a record is never
// left without its option list, nor an option list taken while its record stays.
#include <string>
#include <vector>

namespace Transfer {

struct Deleted {
    std::vector<bool> gone;  // per name, in the order given
    int Failed() const {
        int n = 0;
        for (bool g : gone) n += g ? 0 : 1;
        return n;
    }
};

// Deletes the tips `names` from `section` of `file` and from its mirror
// section. Names match the file's keys without regard to case, as the profile
// functions match them. Each section is read whole once and written once.
Deleted DeleteTips(const std::wstring& file, const std::wstring& section, const std::vector<std::wstring>& names);

}  // namespace Transfer
