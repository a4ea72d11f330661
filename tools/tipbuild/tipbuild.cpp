// tipbuild: turns the UTF-8 sources of the shipped tip library into the files the
// program reads, in the ANSI code page (936), through the program's own tip-file
// writer.
//
//   tipbuild SOURCE_FOLDER PROGRAM_FOLDER
//
// Every SOURCE_FOLDER\*.txt is one category and becomes PROGRAM_FOLDER\Databak\<name>.qix;
// every SOURCE_FOLDER\upd\*.txt becomes PROGRAM_FOLDER\Updfile\<name>.upd.
// Source format: "# ..." comments; "== name ==" starts a sub-category (tips before
// the first one are the category's own, section 数据); a tip is a block of
// "field: value" lines (tip, key, value, type, desc, danger, choice) ended by a
// blank line; other fields (source: where the tip comes from) are read and not
// written; "choice: label = data", the first choice is the current one; data
// "<delete>" deletes the value; value "@" is the default value. A tip data
// file starts with the header fields use, author, web, email and other.
#include "common/Ini.h"
#include "common/TipFile.h"
#include "platform/Text.h"

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct Tip {
    std::map<std::wstring, std::wstring> fields;
    std::vector<std::pair<std::wstring, std::wstring>> choices;
    int line = 0;
};

struct Source {
    std::map<std::wstring, std::wstring> header;
    std::vector<std::pair<std::wstring, std::vector<Tip>>> sections;  // in file order
};

int g_errors = 0;

void Fail(const std::wstring& file, int line, const std::wstring& message) {
    ++g_errors;
    std::fprintf(stderr, "%s:%d: %s\n", Text::ToAnsi(file).c_str(), line, Text::ToAnsi(message).c_str());
}

bool ReadUtf8(const std::wstring& path, std::wstring& out) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::string bytes;
    char buf[65536];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n > 0) bytes.append(buf, n);
    CloseHandle(h);
    int len = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (len <= 0 && !bytes.empty()) return false;
    out.assign(static_cast<size_t>(len), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), len);
    return true;
}

Source Parse(const std::wstring& path, const std::wstring& text) {
    Source src;
    src.sections.emplace_back(TipFile::DataSection, std::vector<Tip>{});
    Tip* tip = nullptr;
    int number = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find(L'\n', pos);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        std::wstring t = Text::Trim(line);
        if (t.empty()) {
            tip = nullptr;
            continue;
        }
        if (t[0] == L'#') continue;
        if (t.size() >= 4 && t.compare(0, 2, L"==") == 0 && t.compare(t.size() - 2, 2, L"==") == 0) {
            tip = nullptr;
            src.sections.emplace_back(Text::Trim(t.substr(2, t.size() - 4)), std::vector<Tip>{});
            continue;
        }
        size_t colon = t.find(L':');
        if (colon == std::wstring::npos) {
            Fail(path, number, L"not a field line");
            continue;
        }
        std::wstring field = t.substr(0, colon), value = Text::Trim(t.substr(colon + 1));
        if (field == L"tip") {
            src.sections.back().second.push_back(Tip{});
            tip = &src.sections.back().second.back();
            tip->line = number;
            tip->fields[field] = value;
        } else if (!tip) {
            src.header[field] = value;
        } else if (field == L"choice") {
            size_t eq = value.find(L'=');
            if (eq == std::wstring::npos) {
                Fail(path, number, L"choice without \"=\"");
                continue;
            }
            tip->choices.emplace_back(Text::Trim(value.substr(0, eq)), Text::Trim(value.substr(eq + 1)));
        } else {
            tip->fields[field] = value;
        }
    }
    return src;
}

const std::map<std::wstring, std::wstring> kTypeCodes = {{L"sz", L"0"}, {L"binary", L"1"}, {L"dword", L"2"},
                                                         {L"expand_sz", L"3"}};

std::wstring StoredData(const std::wstring& data) { return data == L"<delete>" ? Marks::DeleteMark : data; }

bool Fits(const std::wstring& s) { return Text::FitsAnsi(s) && TipFile::SafeField(s); }

void WriteTips(const std::wstring& srcPath, const Source& src, const std::wstring& out) {
    for (const auto& [section, tips] : src.sections) {
        for (const Tip& tip : tips) {
            auto get = [&](const wchar_t* f) {
                auto it = tip.fields.find(f);
                return it == tip.fields.end() ? std::wstring() : it->second;
            };
            auto type = kTypeCodes.find(get(L"type"));
            std::wstring danger = get(L"danger");
            if (type == kTypeCodes.end() || (danger != L"yes" && danger != L"no") || tip.choices.empty() ||
                get(L"key").empty()) {
                Fail(srcPath, tip.line, L"incomplete tip");
                continue;
            }
            TipFile::TipRecord r;
            r.keyPath = get(L"key");
            r.valueName = get(L"value") == L"@" ? L"" : get(L"value");
            r.label = tip.choices.front().first;
            r.data = StoredData(tip.choices.front().second);
            r.typeCode = type->second;
            r.description = get(L"desc");
            r.dangerFlag = danger == L"yes" ? L"2" : L"1";
            TipFile::OptionList o;
            for (const auto& [label, data] : tip.choices) {
                o.labels.push_back(label);
                o.data.push_back(StoredData(data));
                if (!Fits(label) || !Fits(data)) Fail(srcPath, tip.line, L"choice not writable in code page 936");
            }
            for (const auto* text : {&r.keyPath, &r.valueName, &r.description})
                if (!Fits(*text)) Fail(srcPath, tip.line, L"text not writable in code page 936");
            if (!TipFile::WriteTip(out, section, get(L"tip"), TipFile::EncodeRecord(r), TipFile::EncodeOptions(o)))
                Fail(srcPath, tip.line, L"cannot write the tip into " + out);
        }
    }
}

std::vector<std::wstring> TextFiles(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((folder + L"\\*.txt").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(fd.cFileName);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return names;
}

void Build(const std::wstring& srcFolder, const std::wstring& outFolder, const std::wstring& ext, bool dataFile) {
    CreateDirectoryW(outFolder.c_str(), nullptr);
    for (const auto& name : TextFiles(srcFolder)) {
        std::wstring srcPath = srcFolder + L"\\" + name;
        std::wstring text;
        if (!ReadUtf8(srcPath, text)) {
            Fail(srcPath, 0, L"cannot read as UTF-8");
            continue;
        }
        std::wstring out = outFolder + L"\\" + name.substr(0, name.size() - 4) + ext;
        DeleteFileW(out.c_str());
        Source src = Parse(srcPath, text);
        WriteTips(srcPath, src, out);
        if (dataFile) {
            const std::pair<const wchar_t*, const wchar_t*> keys[] = {
                {L"use", L"Use"}, {L"author", L"author"}, {L"web", L"Web"}, {L"email", L"email"}, {L"other", L"other"}};
            for (const auto& [from, to] : keys)
                if (!Ini::Write(out, TipFile::FileinfoSection, to, src.header[from]))
                    Fail(srcPath, 0, L"cannot write the file information");
        }
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: tipbuild SOURCE_FOLDER PROGRAM_FOLDER\n");
        return 2;
    }
    std::wstring src = argv[1], program = argv[2];
    CreateDirectoryW(program.c_str(), nullptr);
    Build(src, program + L"\\Databak", L".qix", false);
    Build(src + L"\\upd", program + L"\\Updfile", L".upd", true);
    if (g_errors) {
        std::fprintf(stderr, "tipbuild: %d error(s)\n", g_errors);
        return 1;
    }
    return 0;
}
