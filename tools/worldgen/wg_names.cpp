#include "wg_names.h"

#include <utility>
#include <vector>

#include "cp932.h"
#include "textfn.h"

namespace tarvo::worldgen {
namespace {

struct Word {
    const char* text;  // UTF-8
    const char* kana;  // full-width katakana, UTF-8
    const char* eng;
};

constexpr Word kSyllables[] = {
    {"ア", "ア", "a"},   {"イ", "イ", "i"},   {"ウ", "ウ", "u"},   {"エ", "エ", "e"},   {"オ", "オ", "o"},
    {"カ", "カ", "ka"},  {"キ", "キ", "ki"},  {"ク", "ク", "ku"},  {"ケ", "ケ", "ke"},  {"コ", "コ", "ko"},
    {"サ", "サ", "sa"},  {"シ", "シ", "shi"}, {"ス", "ス", "su"},  {"セ", "セ", "se"},  {"ソ", "ソ", "so"},
    {"タ", "タ", "ta"},  {"チ", "チ", "chi"}, {"ツ", "ツ", "tsu"}, {"テ", "テ", "te"},  {"ト", "ト", "to"},
    {"ナ", "ナ", "na"},  {"ニ", "ニ", "ni"},  {"ヌ", "ヌ", "nu"},  {"ネ", "ネ", "ne"},  {"ノ", "ノ", "no"},
    {"ハ", "ハ", "ha"},  {"ヒ", "ヒ", "hi"},  {"フ", "フ", "fu"},  {"ヘ", "ヘ", "he"},  {"ホ", "ホ", "ho"},
    {"マ", "マ", "ma"},  {"ミ", "ミ", "mi"},  {"ム", "ム", "mu"},  {"メ", "メ", "me"},  {"モ", "モ", "mo"},
    {"ヤ", "ヤ", "ya"},  {"ユ", "ユ", "yu"},  {"ヨ", "ヨ", "yo"},  {"ラ", "ラ", "ra"},  {"リ", "リ", "ri"},
    {"ル", "ル", "ru"},  {"レ", "レ", "re"},  {"ロ", "ロ", "ro"},  {"ワ", "ワ", "wa"},  {"ガ", "ガ", "ga"},
    {"ギ", "ギ", "gi"},  {"グ", "グ", "gu"},  {"ゴ", "ゴ", "go"},  {"ザ", "ザ", "za"},  {"ジ", "ジ", "ji"},
    {"ズ", "ズ", "zu"},  {"ダ", "ダ", "da"},  {"デ", "デ", "de"},  {"ド", "ド", "do"},  {"バ", "バ", "ba"},
    {"ビ", "ビ", "bi"},  {"ブ", "ブ", "bu"},  {"ベ", "ベ", "be"},  {"ボ", "ボ", "bo"},  {"パ", "パ", "pa"},
    {"ピ", "ピ", "pi"},  {"プ", "プ", "pu"},  {"ポ", "ポ", "po"},  {"ヴィ", "ヴィ", "vi"}, {"ティ", "ティ", "ti"},
    {"ファ", "ファ", "fa"}, {"フィ", "フィ", "fi"}, {"シャ", "シャ", "sha"}, {"ジュ", "ジュ", "ju"}, {"チェ", "チェ", "che"},
};
// Syllables that may follow another: a long vowel or the moraic n.
constexpr Word kTails[] = {{"ー", "ー", ""}, {"ン", "ン", "n"}, {"ル", "ル", "ru"}, {"ス", "ス", "su"}};

constexpr Word kSurnames[] = {
    {"青山", "アオヤマ", "Aoyama"},   {"石田", "イシダ", "Ishida"},     {"上野", "ウエノ", "Ueno"},
    {"大森", "オオモリ", "Omori"},    {"加藤", "カトウ", "Kato"},       {"北村", "キタムラ", "Kitamura"},
    {"黒木", "クロキ", "Kuroki"},     {"小島", "コジマ", "Kojima"},     {"佐野", "サノ", "Sano"},
    {"柴田", "シバタ", "Shibata"},    {"杉本", "スギモト", "Sugimoto"}, {"関口", "セキグチ", "Sekiguchi"},
    {"高野", "タカノ", "Takano"},     {"千葉", "チバ", "Chiba"},        {"土屋", "ツチヤ", "Tsuchiya"},
    {"中西", "ナカニシ", "Nakanishi"}, {"西田", "ニシダ", "Nishida"},   {"野口", "ノグチ", "Noguchi"},
    {"長谷", "ハセ", "Hase"},         {"平井", "ヒライ", "Hirai"},      {"福田", "フクダ", "Fukuda"},
    {"星野", "ホシノ", "Hoshino"},    {"松井", "マツイ", "Matsui"},     {"宮本", "ミヤモト", "Miyamoto"},
    {"村上", "ムラカミ", "Murakami"}, {"森川", "モリカワ", "Morikawa"}, {"安田", "ヤスダ", "Yasuda"},
    {"横山", "ヨコヤマ", "Yokoyama"}, {"若林", "ワカバヤシ", "Wakabayashi"}, {"岩崎", "イワサキ", "Iwasaki"},
    {"内田", "ウチダ", "Uchida"},     {"川村", "カワムラ", "Kawamura"}, {"坂本", "サカモト", "Sakamoto"},
    {"田村", "タムラ", "Tamura"},     {"浜口", "ハマグチ", "Hamaguchi"}, {"丸山", "マルヤマ", "Maruyama"},
    {"吉川", "ヨシカワ", "Yoshikawa"}, {"久保田", "クボタ", "Kubota"},  {"佐々木", "ササキ", "Sasaki"},
    {"小野寺", "オノデラ", "Onodera"},
};
constexpr Word kGivenNames[] = {
    {"一郎", "イチロウ", "Ichiro"}, {"健太", "ケンタ", "Kenta"},     {"翔", "ショウ", "Sho"},
    {"大輔", "ダイスケ", "Daisuke"}, {"誠", "マコト", "Makoto"},     {"拓也", "タクヤ", "Takuya"},
    {"雄一", "ユウイチ", "Yuichi"}, {"亮", "リョウ", "Ryo"},        {"隆", "タカシ", "Takashi"},
    {"勇気", "ユウキ", "Yuki"},     {"和也", "カズヤ", "Kazuya"},    {"直樹", "ナオキ", "Naoki"},
    {"浩二", "コウジ", "Koji"},     {"修", "オサム", "Osamu"},      {"悠斗", "ユウト", "Yuto"},
    {"颯太", "ソウタ", "Sota"},     {"蓮", "レン", "Ren"},          {"陽介", "ヨウスケ", "Yosuke"},
    {"純", "ジュン", "Jun"},        {"哲也", "テツヤ", "Tetsuya"},   {"由紀", "ユキ", "Yuki"},
    {"美咲", "ミサキ", "Misaki"},   {"彩", "アヤ", "Aya"},          {"光", "ヒカル", "Hikaru"},
    {"剛", "ツヨシ", "Tsuyoshi"},   {"豊", "ユタカ", "Yutaka"},      {"学", "マナブ", "Manabu"},
    {"実", "ミノル", "Minoru"},     {"洋平", "ヨウヘイ", "Yohei"},   {"慎吾", "シンゴ", "Shingo"},
};
constexpr Word kOwnerWords[] = {
    {"アオバ", "アオバ", "Aoba"},     {"ホクト", "ホクト", "Hokuto"},   {"ミナミ", "ミナミ", "Minami"},
    {"ハヤテ", "ハヤテ", "Hayate"},   {"シラユキ", "シラユキ", "Shirayuki"}, {"カザミ", "カザミ", "Kazami"},
    {"トキワ", "トキワ", "Tokiwa"},   {"アサヒ", "アサヒ", "Asahi"},     {"ツバサ", "ツバサ", "Tsubasa"},
    {"ミヤビ", "ミヤビ", "Miyabi"},   {"ヒカリ", "ヒカリ", "Hikari"},    {"スバル", "スバル", "Subaru"},
    {"ナギサ", "ナギサ", "Nagisa"},   {"コハク", "コハク", "Kohaku"},    {"イブキ", "イブキ", "Ibuki"},
    {"サクヤ", "サクヤ", "Sakuya"},   {"カグラ", "カグラ", "Kagura"},    {"ユウナギ", "ユウナギ", "Yunagi"},
};
constexpr Word kOwnerForms[] = {
    {"レーシング", "レーシング", " Racing"}, {"ファーム", "ファーム", " Farm"}, {"ホースクラブ", "ホースクラブ", " Horse Club"},
    {"商事", "ショウジ", " Shoji"},          {"ステーブル", "ステーブル", " Stable"},
};
constexpr const char* kCorporate[] = {"（株）", "（有）", "（株）"};
constexpr const char* kPlaces[] = {"新ひだか町", "浦河町", "日高町", "安平町", "新冠町", "様似町", "えりも町",
                                   "平取町",     "むかわ町", "千歳市", "洞爺湖町", "苫小牧市", "伊達市"};
constexpr const char* kCountries[] = {"米", "英", "愛", "仏", "豪", "独"};
constexpr const char* kColours[] = {"黒", "白", "赤", "青", "黄", "緑", "紫", "桃", "水色", "茶", "橙", "紺", "灰"};
constexpr const char* kPatterns[] = {"縦縞", "襷", "山形", "一本輪", "二本輪", "帯", "星散らし", "菱山形", "格子", "十字襷"};
constexpr const char* kRaceWords[] = {
    "若潮", "早春", "白梅", "紅梅", "若草", "春風", "菜の花", "桜草", "鳴門", "潮騒", "青嵐", "新緑", "若葉", "薫風",
    "夏木立", "朝凪", "天の川", "流星", "秋桜", "錦秋", "紅葉", "初霜", "木枯", "冬桜", "寒椿", "霧島", "羊蹄",
    "大雪", "駒ケ岳", "浄土平", "弥彦", "信濃川", "筑紫", "玄海", "壇之浦", "比叡", "嵐山", "御堂筋", "須磨",
    "武庫川", "舞子", "鎌倉", "湘南", "房総", "八ヶ岳", "犬吠埼", "銀嶺", "白嶺", "北斗", "美浦", "栗東", "渡島",
};

// The first character of a CP932 text (whole, one or two bytes).
std::string firstChar(const std::string& cp932) { return cp932.substr(0, charLen(cp932, 0)); }

}  // namespace

NameSet horseName(Rng& rng) {
    const int n = rng.range(2, 6);
    std::string name, kana, eng;
    for (int i = 0; i < n; ++i) {
        const Word& w = rng.pick(kSyllables);
        name += w.text;
        eng += w.eng;
        if (i > 0 && i + 1 < n && rng.chance(0.2)) {
            const Word& t = rng.pick(kTails);
            name += t.text;
            eng += t.eng;
        }
    }
    if (rng.chance(0.3)) {
        const Word& t = rng.pick(kTails);
        name += t.text;
        eng += t.eng;
    }
    NameSet s;
    s.name = sj(name);
    s.kana = toHalfWidth(s.name);
    eng[0] = static_cast<char>(eng[0] - 'a' + 'A');
    s.eng = eng;
    return s;
}

NameSet personName(Rng& rng) {
    const Word& sur = rng.pick(kSurnames);
    const Word& given = rng.pick(kGivenNames);
    NameSet s;
    s.name = sj(std::string(sur.text) + "　" + given.text);
    s.kana = toHalfWidth(sj(std::string(sur.kana) + " " + given.kana));
    s.eng = std::string(given.eng) + " " + sur.eng;
    const std::string surname = sj(sur.text);
    s.ryakusyo = surname.size() >= 6 ? surname.substr(0, 8) : surname + firstChar(sj(given.text));
    return s;
}

NameSet ownerName(Rng& rng) {
    NameSet s;
    if (rng.chance(0.4)) {  // a private owner
        const NameSet p = personName(rng);
        s.name = s.nameCo = p.name;
        s.kana = p.kana;
        s.eng = p.eng;
        return s;
    }
    const Word& w = rng.pick(kOwnerWords);
    const Word& f = rng.pick(kOwnerForms);
    s.name = sj(std::string(w.text) + f.text);
    s.nameCo = sj(rng.pick(kCorporate)) + s.name;
    s.kana = toHalfWidth(sj(std::string(w.kana) + f.kana));
    s.eng = std::string(w.eng) + f.eng;
    return s;
}

NameSet breederName(Rng& rng) {
    NameSet s;
    const Word& sur = rng.pick(kSurnames);
    if (rng.chance(0.5)) {
        s.name = sj(std::string(sur.text) + "牧場");
        s.kana = toHalfWidth(sj(std::string(sur.kana) + "ボクジョウ"));
        s.eng = std::string(sur.eng) + " Bokujo";
    } else {
        const Word& w = rng.pick(kOwnerWords);
        s.name = sj(std::string(w.text) + "ファーム");
        s.kana = toHalfWidth(sj(std::string(w.kana) + "ファーム"));
        s.eng = std::string(w.eng) + " Farm";
    }
    s.nameCo = rng.chance(0.4) ? sj(rng.pick(kCorporate)) + s.name : s.name;
    return s;
}

std::string breedingPlace(Rng& rng) { return sj(rng.pick(kPlaces)); }
std::string foreignCountry(Rng& rng) { return sj(rng.pick(kCountries)); }

std::string silksDescription(Rng& rng) {
    std::string base = rng.pick(kColours), second = rng.pick(kColours);
    while (second == base) second = rng.pick(kColours);
    std::string d = base;
    const int kind = rng.range(0, 3);
    if (kind >= 1) d += std::string("，") + second + rng.pick(kPatterns);
    if (kind == 2) d += std::string("，袖") + second;
    if (kind == 3) d += std::string("，袖") + rng.pick(kColours) + rng.pick(kPatterns);
    if (kind == 0) d += std::string("，") + second + "袖";
    return sj(d);
}

std::string raceWord(Rng& rng) { return sj(rng.pick(kRaceWords)); }

namespace {

// The longest head of a CP932 text in at most n bytes, whole characters only.
std::string headBytes(const std::string& s, std::size_t n) {
    std::size_t k = 0;
    while (k < s.size() && k + charLen(s, k) <= n) k += charLen(s, k);
    return s.substr(0, k);
}

// The character boundary at or after pos.
std::size_t boundaryFrom(const std::string& s, std::size_t pos) {
    std::size_t k = 0;
    while (k < pos && k < s.size()) k += charLen(s, k);
    return k;
}

bool endsWith(const std::string& s, const std::string& end) {
    if (s.size() < end.size()) return false;
    const std::size_t at = s.size() - end.size();
    return boundaryFrom(s, at) == at && s.compare(at, end.size(), end) == 0;
}

}  // namespace

std::string raceShortName(const std::string& name, std::size_t bytes) {
    // Long words and their abbreviations, applied one by one until the name fits.
    static const std::vector<std::pair<std::string, std::string>> words = [] {
        const char* table[][2] = {{"ステークス", "Ｓ"},           {"カップ", "Ｃ"},
                                  {"トロフィー", "Ｔ"},           {"チャンピオンシップ", "ＣＳ"},
                                  {"ハンデキャップ", "Ｈ"},       {"フューチュリティ", "Ｆ"},
                                  {"ジュベナイルフィリーズ", "ＪＦ"}, {"グランドジャンプ", "ＧＪ"},
                                  {"ニュージーランド", "ＮＺ"},   {"ジャパン", "Ｊ"}};
        std::vector<std::pair<std::string, std::string>> out;
        for (const auto& w : table) out.push_back({sj(w[0]), sj(w[1])});
        return out;
    }();
    // Endings kept when the stem before them is shortened.
    static const std::vector<std::string> endings = [] {
        std::vector<std::string> out;
        for (const char* e : {"ＣＳ", "ＪＦ", "ＦＳ", "ＧＪ", "Ｓ", "Ｃ", "Ｔ", "Ｈ", "大賞典", "記念", "特別", "賞", "杯"})
            out.push_back(sj(e));
        return out;
    }();
    std::string s = name;
    for (const auto& [word, abbr] : words) {
        if (s.size() <= bytes) return s;
        s = replaceAll(s, word, abbr);
    }
    if (s.size() <= bytes) return s;
    const std::string open = sj("（");
    for (std::size_t at = charLen(s, 0); at < s.size(); at += charLen(s, at))
        if (s.compare(at, open.size(), open) == 0) {
            s.resize(at);
            break;
        }
    if (s.size() <= bytes) return s;
    constexpr std::size_t kLeastStem = 4;  // two full-width characters
    for (const std::string& e : endings) {
        if (!endsWith(s, e)) continue;
        const std::string stem = s.substr(0, s.size() - e.size());
        if (bytes >= e.size() + kLeastStem) return headBytes(stem, bytes - e.size()) + e;
        return headBytes(stem, bytes);
    }
    return headBytes(s, bytes);
}

std::string placeWord(Rng& rng) { return sj(rng.pick(kSurnames).text); }

}  // namespace tarvo::worldgen
