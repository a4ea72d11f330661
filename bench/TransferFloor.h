#pragma once
// The floor of a paste or an import of tips into a category, in the benchmark's
// own process, on copies of the files: the source section and its mirror read
// whole, the destination section and its mirror read whole, each written back
// once with the source's lines added (WritePrivateProfileSectionA), and the
// list filled from the result (columns fitted when the settings fit them).
#include "BenchFiles.h"
#include "BenchFloor.h"

#include <string>

inline double TransferFloor(BenchFloor& list, const std::wstring& sourceFile, const std::wstring& destFile,
                            const std::wstring& folder, bool fit) {
    const std::wstring src = folder + L"\\floor_source", dst = folder + L"\\floor_dest.qix";
    BenchFiles::WriteBytes(src, BenchFiles::ReadBytes(sourceFile));
    BenchFiles::WriteBytes(dst, BenchFiles::ReadBytes(destFile));
    const std::string s = Text::ToAnsi(src), d = Text::ToAnsi(dst);
    const std::string data = "\xCA\xFD\xBE\xDD", mirror = BenchFloor::MirrorOf(data);  // 数据 and its mirror
    const double t0 = Seconds();
    for (const std::string& section : {data, mirror}) {
        std::string from = BenchFloor::ReadSection(section, s), to = BenchFloor::ReadSection(section, d);
        std::string joined = to + from;  // each ends in one NUL per line
        joined.push_back('\0');
        WritePrivateProfileSectionA(section.c_str(), joined.c_str(), d.c_str());
    }
    list.Load(dst, L"数据", fit);
    const double t = Seconds() - t0;
    DeleteFileW(src.c_str());
    DeleteFileW(dst.c_str());
    return t;
}
