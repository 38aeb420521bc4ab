#include "jv_record.h"

namespace tarvo {
namespace {

enum class Chars { Digits, Alnum };

// Fields that name the record's file in the store (or the file of its run
// index): they must be all digits or all ASCII letters and digits, never blank.
struct KeyRule {
    std::string_view path;
    Chars chars;
};
constexpr KeyRule kRaceKeyRules[] = {{"id.Year", Chars::Digits}, {"id.MonthDay", Chars::Digits}, {"id.JyoCD", Chars::Alnum}};

struct MasterKey {
    std::string_view id;
    KeyRule rule;
};
constexpr MasterKey kMasterKeys[] = {
    {"UM", {"KettoNum", Chars::Digits}},    {"SK", {"KettoNum", Chars::Digits}},
    {"HN", {"HansyokuNum", Chars::Digits}}, {"KS", {"KisyuCode", Chars::Alnum}},
    {"CH", {"ChokyosiCode", Chars::Alnum}}, {"BR", {"BreederCode", Chars::Alnum}},
    {"BN", {"BanusiCode", Chars::Alnum}},
};

bool fits(std::string_view text, Chars chars) {
    if (text.empty()) return false;
    for (const char c : text) {
        const bool digit = c >= '0' && c <= '9';
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!(digit || (chars == Chars::Alnum && letter))) return false;
    }
    return true;
}

bool keyFits(const RawLayout& layout, std::string_view record, const KeyRule& rule) {
    const RawField* f = layout.find(rule.path);
    return !f || fits(layout.get(record, rule.path), rule.chars);
}

// The record ends with CR LF and holds no other control byte (a line break
// inside would break the stored lines apart); its key fields can name a file.
bool contentFits(const RawLayout& layout, std::string_view record) {
    const std::size_t body = record.size() - 2;
    if (record.substr(body) != "\r\n") return false;
    for (std::size_t i = 0; i < body; ++i)
        if (static_cast<unsigned char>(record[i]) < 0x20 || record[i] == 0x7F) return false;
    for (const KeyRule& r : kRaceKeyRules)
        if (!keyFits(layout, record, r)) return false;
    for (const MasterKey& m : kMasterKeys)
        if (m.id == layout.id() && !keyFits(layout, record, m.rule)) return false;
    return true;
}

}  // namespace

bool JVRecord::copyFrom(std::string_view received, long length) {
    layout_ = nullptr;
    bytes_.clear();
    if (length < 4 || static_cast<std::size_t>(length) > received.size()) return false;
    const std::string_view record = received.substr(0, static_cast<std::size_t>(length));
    const RawLayout* layout = rawLayoutOf(record);
    if (!layout || layout->length() != record.size() || !contentFits(*layout, record)) return false;
    layout_ = layout;
    bytes_.assign(record);
    return true;
}

}  // namespace tarvo
