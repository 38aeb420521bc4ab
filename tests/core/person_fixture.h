// Jockey (KS) and trainer (CH) records for the tests of their screens.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "cp932.h"
#include "fsys.h"
#include "layouts.h"
#include "record_io.h"
#include "store_paths.h"

namespace tarvo::test {

// Six place counts as a stored field.
inline std::string countsField(std::initializer_list<int> n) {
    std::string s;
    for (int v : n) {
        const std::string d = std::to_string(v);
        s += std::string(6 - d.size(), '0') + d;
    }
    return s;
}

// A record of family KS or CH: active, 美浦, made 20261130, then the given fields (UTF-8 values).
struct Person {
    Family family;
    std::vector<std::pair<std::string, std::string>> fields;
};

inline std::string personLine(const Person& p) {
    LineBuilder b(p.family);
    b.assign("DataKubun", "1");
    b.assign("MakeDate", "20261130");
    b.assign("DelKubun", "0");
    b.assign("TozaiCD", "1");
    for (const auto& [name, value] : p.fields) EXPECT_TRUE(b.setRaw(name, sj(value))) << name;
    return b.line();
}

// Writes the record into the file its code selects.
inline void storePerson(const StorePaths& paths, const Person& p) {
    const std::string line = personLine(p);
    const std::string path = paths.file(p.family, line);
    makeDirs(dirName(path));
    writeRecord(path, line, recordKey(p.family));
}

}  // namespace tarvo::test
