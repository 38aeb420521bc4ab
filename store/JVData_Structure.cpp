#include "JVData_Structure.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "cp932.h"

namespace tarvo {
namespace {

constexpr std::string_view kTables =
#include "jvdata_layouts.inc"
    ;

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::size_t toSize(std::string_view digits) {
    std::size_t n = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') throw std::logic_error("JV-Data layout table: bad number");
        n = n * 10 + static_cast<std::size_t>(c - '0');
    }
    return n;
}

// Expands the field lines from lines[i] up to the closing "}" of the current
// group (consumed) or the next layout header (not consumed), each path
// prefixed with prefix. Positions follow one another from pos.
void expand(const std::vector<std::string_view>& lines, std::size_t& i, const std::string& prefix,
            std::size_t& pos, std::vector<RawField>& out) {
    while (i < lines.size()) {
        const std::string_view line = lines[i];
        if (line[0] == '=') return;
        ++i;
        if (line == "}") return;
        const std::size_t tab = line.find('\t');
        if (tab == std::string_view::npos) throw std::logic_error("JV-Data layout table: bad line");
        if (line[0] == '{') {
            const std::size_t count = toSize(line.substr(1, tab - 1));
            const std::string groupPrefix = prefix + std::string(line.substr(tab + 1));
            const std::size_t body = i;
            for (std::size_t k = 1; k <= count; ++k) {
                i = body;
                expand(lines, i, groupPrefix + "[" + std::to_string(k) + "]", pos, out);
            }
        } else {
            const std::size_t len = toSize(line.substr(tab + 1));
            out.push_back(RawField{prefix + std::string(line.substr(0, tab)), pos, len});
            pos += len;
        }
    }
}

struct Registry {
    std::vector<std::unique_ptr<RawLayout>> owned;
    std::vector<const RawLayout*> all;
};

const Registry& registry() {
    static const Registry reg = [] {
        Registry r;
        const std::vector<std::string_view> lines = splitLines(kTables);
        std::size_t i = 0;
        while (i < lines.size()) {
            const std::string_view head = lines[i++];
            if (head.empty() || head[0] != '=') throw std::logic_error("JV-Data layout table: header expected");
            const std::size_t t1 = head.find('\t'), t2 = head.find('\t', t1 + 1);
            const std::string id(head.substr(1, t1 - 1));
            const RawVersion version = head.substr(t1 + 1, t2 - t1 - 1) == "old" ? RawVersion::Old : RawVersion::Current;
            const std::size_t length = toSize(head.substr(t2 + 1));
            std::vector<RawField> fields;
            std::size_t pos = 1;
            expand(lines, i, std::string(), pos, fields);
            r.owned.push_back(std::make_unique<RawLayout>(id, version, length, std::move(fields)));
            r.all.push_back(r.owned.back().get());
        }
        return r;
    }();
    return reg;
}

}  // namespace

RawLayout::RawLayout(std::string id, RawVersion version, std::size_t length, std::vector<RawField> fields)
    : id_(std::move(id)), version_(version), length_(length), fields_(std::move(fields)) {
    index_.reserve(fields_.size());
    for (std::size_t k = 0; k < fields_.size(); ++k) index_.emplace(fields_[k].path, k);
}

const RawField* RawLayout::find(std::string_view path) const {
    const auto it = index_.find(path);
    return it == index_.end() ? nullptr : &fields_[it->second];
}

std::string_view RawLayout::get(std::string_view record, std::string_view path) const {
    const RawField* f = find(path);
    if (!f || f->pos - 1 >= record.size()) return {};
    return record.substr(f->pos - 1, f->len);
}

std::string RawLayout::blank() const {
    std::string r(length_, ' ');
    r.replace(0, 2, id_);
    r[length_ - 2] = '\r';
    r[length_ - 1] = '\n';
    return r;
}

const RawField& RawLayout::field(std::string_view path) const {
    const RawField* f = find(path);
    if (!f) throw std::invalid_argument(id_ + " has no field " + std::string(path));
    return *f;
}

void RawLayout::put(std::string& record, std::string_view path, std::string_view text) const {
    put(record, field(path), text);
}

void RawLayout::putNum(std::string& record, std::string_view path, long long value) const {
    putNum(record, field(path), value);
}

void RawLayout::put(std::string& record, const RawField& f, std::string_view text) const {
    if (record.size() != length_) throw std::invalid_argument(id_ + " record of the wrong length");
    std::size_t n = 0;  // bytes of text that fit, whole characters only
    while (n < text.size()) {
        const std::size_t c = charLen(text, n);
        if (n + c > f.len) break;
        n += c;
    }
    record.replace(f.pos - 1, n, text.substr(0, n));
    record.replace(f.pos - 1 + n, f.len - n, f.len - n, ' ');
}

void RawLayout::putNum(std::string& record, const RawField& f, long long value) const {
    if (record.size() != length_) throw std::invalid_argument(id_ + " record of the wrong length");
    char* out = record.data() + (f.pos - 1);
    unsigned long long v = value < 0 ? 0 : static_cast<unsigned long long>(value);
    for (std::size_t i = f.len; i-- > 0;) {
        out[i] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    if (v != 0) std::fill(out, out + f.len, '9');  // too wide: the largest value that fits
}

const RawLayout* rawLayout(std::string_view recordId, RawVersion version) {
    for (const RawLayout* l : registry().all)
        if (l->id() == recordId && l->version() == version) return l;
    return nullptr;
}

const RawLayout* rawLayoutOf(std::string_view record) {
    const std::string_view id = record.substr(0, 2);
    if (const RawLayout* old = rawLayout(id, RawVersion::Old); old && old->length() == record.size()) return old;
    return rawLayout(id, RawVersion::Current);
}

const std::vector<const RawLayout*>& rawLayouts() { return registry().all; }

}  // namespace tarvo
