#include "transfer/Transfer.h"

#include "common/Ini.h"
#include "common/Marks.h"
#include "common/TipFile.h"
#include "platform/Text.h"

#include <windows.h>

#include <optional>
#include <unordered_map>
#include <unordered_set>

namespace Transfer {

TipClipboard& Clipboard() {
    static TipClipboard clipboard;
    return clipboard;
}

namespace {

// A section's values by upper-cased key (the first entry of a key listed twice).
struct SectionValues {
    std::unordered_map<std::wstring, std::wstring> byKey;
    void Load(const std::wstring& file, const std::wstring& section, std::vector<std::wstring>* order = nullptr) {
        for (auto& [key, value] : TipFile::ReadSection(file, section)) {
            if (order) order->push_back(key);
            byKey.emplace(Text::UpperCase(key), std::move(value));
        }
    }
    std::optional<std::wstring> Find(const std::wstring& name) const {
        auto it = byKey.find(Text::UpperCase(name));
        if (it == byKey.end()) return std::nullopt;
        return it->second;
    }
    void Set(const std::wstring& name, const std::wstring& value) { byKey[Text::UpperCase(name)] = value; }
    void Erase(const std::wstring& name) { byKey.erase(Text::UpperCase(name)); }
};

size_t FieldMarks(const std::wstring& record) {
    size_t n = 0;
    for (wchar_t c : record)
        if (c == Marks::FieldMarkChar) ++n;
    return n;
}

enum class Write { Written, Refused, Failed };

// Whether the file exists but cannot be opened for reading (another program
// holds it without sharing, or no access): the system then reads it as empty.
bool Unreadable(const std::wstring& file) {
    HANDLE h = CreateFileA(Text::ToAnsi(file).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        CloseHandle(h);
        return false;
    }
    const DWORD err = GetLastError();
    return err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND;
}

class Loop {
public:
    Loop(const Source& s, const Target& t) : source_(s), target_(t) {
        mirror_ = TipFile::MirrorOf(t.section);
        sourceMirror_ = TipFile::MirrorOf(s.section);
        src_.Load(s.file, s.section, s.allKeys ? &importOrder_ : nullptr);
        srcOptions_.Load(s.file, sourceMirror_);
        sourceUnread_ = src_.byKey.empty() && Unreadable(s.file);
        targetHeld_ = !Ini::Replaceable(t.file);
        dst_.Load(t.file, t.section);
        dstOptions_.Load(t.file, mirror_);
        for (size_t i = 0; i < t.shownNames.size(); ++i) shownRow_[Text::UpperCase(t.shownNames[i])] = static_cast<int>(i) + 1;
        batch_ = OneWrite();
    }

    const std::vector<std::wstring>& Names() const { return source_.allKeys ? importOrder_ : source_.names; }

    Counts Walk(ReplaceAnswer& answer, const Ask& ask) {
        std::unordered_set<std::wstring> handled;
        for (const std::wstring& name : Names()) {
            if (answer == ReplaceAnswer::Stop) break;
            if (!handled.insert(Text::UpperCase(name)).second) continue;  // a name listed twice goes once
            if (sourceUnread_) {
                ++counts_.unreadSource;  // the source file could not be read at all
                continue;
            }
            if (targetHeld_) {
                ++counts_.failed;  // the target cannot be written, whether a tip would change it or not
                continue;
            }
            std::optional<std::wstring> record = src_.Find(name);
            if (!record || record->empty()) {
                ++counts_.missing;  // gone since it was copied, or empty: nothing to paste
                continue;
            }
            const std::wstring options = srcOptions_.Find(name).value_or(std::wstring());
            const int row = ClashRow(name);
            if (row == 0) {
                Copy(name, *record, options);
                continue;
            }
            // The page shows the key path and the value name: a record without them is skipped.
            if (FieldMarks(*record) < 2) {
                ++counts_.unreadable;
                continue;
            }
            if (answer == ReplaceAnswer::All) {
                Copy(name, *record, options);
                continue;
            }
            PendingTip tip;
            // A paste writes under the clipboard's name; the import under the row's text
            // (the same key: names match without regard to case).
            tip.name = source_.allKeys ? target_.shownNames[row - 1] : name;
            tip.record = *record;
            tip.options = options;
            tip.pasteOfCut = source_.deleteAfterWrite;
            const std::wstring sourceName = name;
            // A confirmed replacement is on disk when the page closes.
            tip.Commit = [this, &tip, sourceName] {
                return Copy(tip.name, tip.record, tip.options, sourceName, true);
            };
            tip.answer = ReplaceAnswer::Ask;
            if (ask) ask(tip, row);
            answer = tip.answer;
        }
        Flush();
        return counts_;
    }

private:
    // The last shown row whose text equals the name without regard to case (0 none).
    int ClashRow(const std::wstring& name) const {
        auto it = shownRow_.find(Text::UpperCase(name));
        return it == shownRow_.end() ? 0 : it->second;
    }

    // Writes one tip whole and, for a cut, deletes its source afterwards. In
    // one-write mode the tip joins those waiting for the next Flush (now, when
    // `now` is set); the result then tells whether it is on disk.
    bool Copy(const std::wstring& name, const std::wstring& record, const std::wstring& options,
              std::wstring sourceName = {}, bool now = false) {
        if (sourceName.empty()) sourceName = name;
        if (batch_) {
            if (Refused(name, record, options)) {
                ++counts_.refused;
                return false;
            }
            const bool cut = source_.deleteAfterWrite;
            if (rec_->Decides(name) && mir_->Decides(name) &&
                (!cut || (srcRec_->Decides(sourceName) && srcMir_->Decides(sourceName)))) {
                rec_->Set(name, record);
                mir_->Set(name, options);
                waiting_.push_back({name, sourceName, dst_.Find(name), dstOptions_.Find(name)});
                dst_.Set(name, record);
                dstOptions_.Set(name, options);
                return now ? Flush() : true;
            }
            // A name only the system can match: what waits goes now, the rest key by key.
            Flush();
            batch_ = false;
            retried_ = true;
        }
        switch (WriteWhole(name, record, options)) {
        case Write::Refused:
            ++counts_.refused;
            return false;
        case Write::Failed:
            ++counts_.failed;
            return false;
        case Write::Written:
            break;
        }
        ++counts_.written;
        if (source_.deleteAfterWrite) {
            bool gone = Ini::DeleteKey(source_.file, source_.section, sourceName);
            gone = Ini::DeleteKey(source_.file, sourceMirror_, sourceName) && gone;
            if (!gone) ++counts_.sourceKept;
        }
        // The system writes a file it changes in its own form: a file that was
        // in another form may take the rest in one write now.
        if (!retried_) {
            retried_ = true;
            batch_ = OneWrite();
        }
        return true;
    }

    // The tips go into the target in one write of each section when the
    // outcome of key-by-key writes can be told exactly; else key by key.
    bool OneWrite() {
        rec_.emplace(target_.file, target_.section);
        mir_.emplace(target_.file, mirror_);
        if (!rec_->Exact() || !mir_->Exact()) return false;
        if (!source_.deleteAfterWrite) return true;
        srcRec_.emplace(source_.file, source_.section);
        srcMir_.emplace(source_.file, sourceMirror_);
        return srcRec_->Exact() && srcMir_->Exact();
    }

    bool Refused(const std::wstring& name, const std::wstring& record, const std::wstring& options) const {
        return !TipFile::SafeName(name) || !Ini::SafeSection(target_.section) || !Ini::SafeSection(mirror_) ||
               !Ini::SafeValue(record) || !Ini::SafeValue(options) || !Ini::Holdable(name) ||
               !Ini::Holdable(record) || !Ini::Holdable(options);
    }

    // Writes the waiting tips: the target section, then its mirror, one write
    // each; when the mirror cannot be written the section is put back, so no
    // tip is left half written. Then, after a cut, the tips leave their source
    // section and its mirror, one write each. True when the tips are on disk.
    bool Flush() {
        if (waiting_.empty()) return true;
        const int n = static_cast<int>(waiting_.size());
        bool ok = rec_->Commit();
        if (!ok) {
            mir_->Discard();
        } else if (!mir_->Commit()) {
            rec_->Undo();
            ok = false;
        }
        if (!ok) {
            counts_.failed += n;
            for (auto it = waiting_.rbegin(); it != waiting_.rend(); ++it) {
                Restore(dst_, it->name, it->record);
                Restore(dstOptions_, it->name, it->options);
            }
            waiting_.clear();
            return false;
        }
        counts_.written += n;
        if (source_.deleteAfterWrite) {
            for (const Waiting& w : waiting_) {
                srcRec_->Remove(w.sourceName);
                srcMir_->Remove(w.sourceName);
            }
            bool gone = srcRec_->Commit();
            gone = srcMir_->Commit() && gone;
            if (!gone) counts_.sourceKept += n;
        }
        waiting_.clear();
        return true;
    }
    static void Restore(SectionValues& values, const std::wstring& name, const std::optional<std::wstring>& before) {
        if (before) values.Set(name, *before);
        else values.Erase(name);
    }

    Write WriteWhole(const std::wstring& name, const std::wstring& record, const std::wstring& options) {
        if (Refused(name, record, options)) return Write::Refused;
        const std::optional<std::wstring> before = dst_.Find(name);
        if (!Ini::Write(target_.file, target_.section, name, record)) return Write::Failed;
        if (!Ini::Write(target_.file, mirror_, name, options)) {
            // No half tip: the record goes back as it was.
            if (before) Ini::Write(target_.file, target_.section, name, *before);
            else Ini::DeleteKey(target_.file, target_.section, name);
            return Write::Failed;
        }
        dst_.Set(name, record);
        dstOptions_.Set(name, options);
        return Write::Written;
    }

    const Source& source_;
    const Target& target_;
    std::wstring mirror_, sourceMirror_;
    SectionValues src_, srcOptions_, dst_, dstOptions_;
    std::vector<std::wstring> importOrder_;
    std::unordered_map<std::wstring, int> shownRow_;  // upper-cased row text -> its last row
    bool sourceUnread_ = false;
    bool targetHeld_ = false;  // the target file is there but cannot be written
    // One-write mode: the four sections being edited, and the tips written to
    // them in memory only, with the target's values they replace.
    bool batch_ = false;
    bool retried_ = false;  // the one-write mode was tried again after a key-by-key write
    std::optional<Ini::SectionEdit> rec_, mir_, srcRec_, srcMir_;
    struct Waiting {
        std::wstring name, sourceName;
        std::optional<std::wstring> record, options;
    };
    std::vector<Waiting> waiting_;
    Counts counts_;
};

std::wstring Canonical(const std::wstring& path) {
    std::wstring full(MAX_PATH * 4, L'\0');
    DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n == 0 || n >= full.size()) return path;
    full.resize(n);
    std::wstring longer(MAX_PATH * 4, L'\0');
    n = GetLongPathNameW(full.c_str(), longer.data(), static_cast<DWORD>(longer.size()));
    if (n == 0 || n >= longer.size()) return full;
    longer.resize(n);
    return longer;
}

}  // namespace

Counts Run(const Source& source, const Target& target, ReplaceAnswer& answer, const Ask& ask) {
    // The run writes copies of the target (and of the source of a cut); the
    // target is replaced first, so that a program ended in between leaves a
    // cut tip in both places rather than in none.
    Ini::FileTransaction into(target.file);
    std::optional<Ini::FileTransaction> from;
    if (source.deleteAfterWrite) from.emplace(source.file);
    Counts counts = Loop(source, target).Walk(answer, ask);
    if (!into.Commit()) {
        if (from) from->Discard();
        counts.failed += counts.written;
        counts.written = 0;
        counts.sourceKept = 0;
        return counts;
    }
    if (from && !from->Commit()) counts.sourceKept = counts.written;
    return counts;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
    if (a.empty() || b.empty()) return false;
    const std::wstring x = Canonical(a), y = Canonical(b);
    return CompareStringOrdinal(x.c_str(), -1, y.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace Transfer
