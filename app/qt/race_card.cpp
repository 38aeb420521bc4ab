#include "race_card.h"

#include <QApplication>
#include <map>
#include <QButtonGroup>
#include <QDateEdit>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>

#include "card_view.h"
#include "cp932.h"
#include "engine_settings.h"
#include "fonts.h"
#include "fsys.h"
#include "grid.h"
#include "inifile.h"
#include "lookups.h"
#include "live_updates.h"
#include "local_card.h"
#include "msgbox.h"
#include "qtext.h"
#include "race_list.h"
#include "race_media.h"
#include "runner_tables.h"
#include "screen_links.h"
#include "store_paths.h"
#include "textfn.h"
#include "unit_kishu.h"
#include "unit_main.h"
#include "unit_oddsinfo.h"
#include "unit_result.h"
#include "unit_srch.h"
#include "unit_pdfwrite.h"
#include "useryoso_view.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kTop = Qt::AlignLeft | Qt::AlignTop;

constexpr GridColumn kCardColumnTable[kCardColumns] = {
    {"枠", 14},           {"番", 15},           {" 馬名", 100, kLeft},  {"性齢", 25, kLeft},
    {"斤", 22},           {" 騎手", 50, kLeft}, {" 調教師", 50, kLeft}, {"単勝", 28},
    {"体重", 25},         {"増減", 22},         {" ５走前", 71, kTop},  {" ４走前", 71, kTop},
    {" ３走前", 71, kTop}, {" ２走前", 71, kTop}, {" 前走", 71, kTop},   {" PC ", 16},
    {" US ", 16},         {"位 ", 19, kRight},  {"S3 ", 19, kRight},   {"指 ", 19, kRight},
};
constexpr GridColumn kBetColumns[] = {{"組番", 40, kRight}, {"オッズ", 38, kRight}, {"*", 20, kRight}};
constexpr const char* kBetGrids[] = {"stgUmaren", "stgUmatan1", "stgUmatan2"};
constexpr const char* kBetTitles[] = {"Label4", "Label5", "Label6"};
constexpr const char* kFigureLabels[] = {"lbl_ave3f", "lbl_cls3f", "lbl_pos", "lbl_pace"};

// The three prediction options: menu item, settings key, the in-memory flag and the message texts.
struct PredictionOption {
    const char* item;
    const char* key;
    bool EngineSettings::*flag;
    const char* on;
    const char* off;
    const char* last;
};
constexpr PredictionOption kOptions[] = {
    {"mnuOptOdds", "oddadd", &EngineSettings::oddadd, "オッズを予想条件に組み込みました。",
     "オッズを予想条件から外しました。", "当該レースを再指定、またはオッズ更新を行ってください。"},
    {"mnuOptWgt", "taiadd", &EngineSettings::taiadd, "馬体重を予想条件に組み込みました。",
     "馬体重を予想条件から外しました。", "当該レースを再指定、または開催情報取得をクリックしてください。"},
    {"mnuOptCon", "bcdadd", &EngineSettings::bcdadd, "ダート道悪補正を有効にしました。",
     "ダート道悪補正を無効にしました。", "当該レースを再指定、または開催情報取得をクリックしてください。"},
};

class RaceCardPane;

// Columns at least their designed width and wide enough for their texts, so
// that no text is cut whatever the font; a grid that then needs more room
// scrolls sideways, or, when widen is set, grows to the right.
int fitColumns(Grid* grid, std::span<const GridColumn> columns, bool widen, int pastRunPixels = 12,
               bool compact = false) {
    int total = 0;
    for (int c = 0; c < static_cast<int>(columns.size()); ++c) {
        const QFontMetrics fm(c >= 10 && c <= 14 && !widen ? gothic(pastRunPixels) : grid->font());
        int need = fm.horizontalAdvance(u(columns[static_cast<std::size_t>(c)].header)) + 2;
        for (int r = 0; r < grid->rows()->dataRows(); ++r)
            for (const QString& line : grid->rows()->data(grid->rows()->index(r, c), Qt::DisplayRole)
                                           .toString()
                                           .remove(QChar(u'\r'))
                                           .split(QChar(u'\n')))
                need = std::max(need, fm.horizontalAdvance(line) + 3);
        const int w = compact ? need : std::max(columns[static_cast<std::size_t>(c)].width, need);
        grid->setColumnWidth(c, w);
        total += w;
    }
    if (widen) {
        const int frame = 2 * grid->frameWidth() + grid->verticalScrollBar()->sizeHint().width();
        grid->resize(std::max(grid->width(), total + frame), grid->height());
    } else {
        grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    return total;
}

// Draws the card's cells: frame colours, past-run colouring and the two-line past runs.
class CardDelegate : public QStyledItemDelegate {
public:
    CardDelegate(const RaceCardPane& pane, QObject* parent) : QStyledItemDelegate(parent), pane_(pane) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    const RaceCardPane& pane_;
};

class RaceCardPane : public QObject {
public:
    explicit RaceCardPane(TfrmMain& w) : QObject(&w), w_(w) {
        auto* old = w.findChild<QTableWidget*>(u("stgUmaList"));
        QWidget* client = old->parentWidget();
        const QRect place = old->geometry();
        delete old;
        GridLook look;
        look.rowHeight = 25;
        look.minimumRows = 0;
        look.verticalScrollBar = false;  // 18 runners fit
        grid_ = new Grid(client, "stgUmaList", kCardColumnTable, place, look);
        grid_->setFont(pGothic(12));
        grid_->setItemDelegate(new CardDelegate(*this, grid_));
        grid_->setSelectionMode(QAbstractItemView::SingleSelection);
        grid_->setSelectionBehavior(QAbstractItemView::SelectItems);
        grid_->hide();
        grid_->setEnabled(false);
        connect(grid_, &QTableView::doubleClicked, this, [this](const QModelIndex& i) { doubleClick(i); });

        for (std::size_t g = 0; g < 3; ++g) {
            auto* oldBet = w.findChild<QTableWidget*>(u(kBetGrids[g]));
            GridLook betLook;
            betLook.rowHeight = 12;
            betLook.minimumRows = 5;
            betLook.verticalScrollBar = true;
            bets_[g] = new Grid(oldBet->parentWidget(), kBetGrids[g], kBetColumns, oldBet->geometry(), betLook);
            bets_[g]->setFont(pGothic(11));
            bets_[g]->hide();
            delete oldBet;
        }
        connect(w.findChild<QRadioButton*>(u("rbtnPC")), &QRadioButton::clicked, this, [this] { rebuildBets(); });
        connect(w.findChild<QRadioButton*>(u("rbtnUS")), &QRadioButton::clicked, this, [this] { rebuildBets(); });

        colourPastRuns_ = w.state().kakoClr == "1";
        w.setRaceShower([this](const std::string& line) { showRace(line); });
        w.setScreenOpener(u("mnuFileOut"), [this] { saveCsv(); });
        w.setScreenOpener(u("mnuOddsList"), [this] { openOdds(); });
        setFinalResultsHook([this] {
            auto* result = w_.findChild<QPushButton*>(u("btnResult"));
            QFont f = result->font();
            f.setBold(false);
            result->setFont(f);
        });
        w.setScreenOpener(u("mnuPdfOut"), [this] { openRaceCardPdf(w_.screenContext(), race_, card_); });
        for (const PredictionOption& o : kOptions) w.setScreenOpener(u(o.item), [this, &o] { toggle(o); });
        w.setScreenOpener(u("mnuOptCha"), [this] { toggleColouring(); });
        w.setScreenOpener(u("mnuOptRViewer"), [this] { toggleRaceViewer(); });
        w.setScreenOpener(u("mnuLocalYoso"), [this] {
            w_.setLocalGradedScreen(openLocalPrediction(
                w_.screenContext(), [this](const LocalRaceHeader& h, const std::vector<EntryRow>& rows) {
                    showLocalCard(h, rows);
                }));
        });
        media_ = installRaceMedia(w, grid_);
    }

    const RaceCard& card() const { return card_; }

    // What the same-day updates do to the shown card.
    LiveCardHooks liveHooks() {
        LiveCardHooks h;
        h.shownRace = [this]() -> std::optional<RaceKey> {
            if (label("lbl_Date")->text().isEmpty()) return std::nullopt;
            return race_;
        };
        h.showAgain = [this](const std::string& line) { showRace(line); };
        h.refreshOdds = [this] {
            RunnerTable& t = runnerTable(kMainWindowCaller);
            refreshCells(refreshedOddsColumn(paths_, race_), [&](std::size_t row, const CardRefresh& c) {
                card_.rows[row][7].text = c.text;
                if (row < t.size()) t.odds[row] = c.text;
            });
        };
        h.refreshWeights = [this] {
            refreshCells(refreshedWeightColumns(paths_, race_), [&](std::size_t row, const CardRefresh& c) {
                card_.rows[row][8].text = c.text;
                card_.rows[row][9].text = c.change;
            });
        };
        h.refillHeader = [this] {
            card_.header = cardHeader(paths_, race_);
            fillHeader();
        };
        h.remark = [this] {
            loadEngineSettings(settingsPath());
            remarkCard(source(), race_, card_, userMarks());
            grid_->setRows(card_.rows);
            showBets();
        };
        return h;
    }
    bool colourPastRuns() const { return colourPastRuns_; }
    int pixels() const { return std::max(pixels_, 10); }

private:
    QLabel* label(const char* name) const { return w_.findChild<QLabel*>(u(name)); }
    std::string settingsPath() const { return w_.state().settingsPath(); }
    EvalSource source() const { return {paths_, w_.state().programFolder + "file/"}; }

    void showRace(const std::string& line) {
        loadEngineSettings(settingsPath());
        w_.clearHeader();
        QCoreApplication::processEvents();
        const RaceLineParts parts = readRaceListLine(line);
        w_.action(u("mnuOptRViewer"))->setEnabled(true);
        const QDate d = w_.findChild<QDateEdit*>(u("dtpRcDate"))->date();
        race_ = RaceKey(QString::asprintf("%04d", d.year()).toStdString(),
                        QString::asprintf("%02d%02d", d.month(), d.day()).toStdString(), parts.jyoCD, parts.raceNum);
        paths_ = StorePaths(w_.state().storeRoot);
        local_ = false;
        card_ = buildRaceCard(source(), race_, userMarks(), progress());
        showCard();
        showBets();
        raceCardShown(*media_, card_, race_);
        w_.findChild<QTabWidget*>(u("pgcMain"))->setCurrentIndex(card_.betsTab ? 0 : 1);
        const bool shown = !card_.header.date.empty();
        w_.setRaceItemEnabled(u("mnuFileOut"), shown);
        w_.setRaceItemEnabled(u("mnuPdfOut"), shown);
        // btnResult: normal for final results, bold for anything else but an entry list, which leaves it.
        if (card_.dataKubun != "1") {
            auto* result = w_.findChild<QPushButton*>(u("btnResult"));
            QFont f = result->font();
            f.setBold(!(card_.dataKubun == "6" || card_.dataKubun == "7" || card_.dataKubun == "A"));
            result->setFont(f);
        }
    }

    // The progress bar follows a card build, processing messages after each runner.
    CardProgress progress() {
        auto* bar = w_.findChild<QProgressBar*>(u("prgExec"));
        bar->setValue(0);
        bar->setMaximum(100);
        return [bar](std::size_t done, std::size_t count) {
            bar->setMaximum(static_cast<int>(count));
            bar->setValue(static_cast<int>(done));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
    }

    // "出走表登録" of the local graded race screen: the composed card in place of the shown race.
    void showLocalCard(const LocalRaceHeader& header, const std::vector<EntryRow>& rows) {
        w_.clearHeader();
        for (const char* name : {"pgcMain", "dgrFuku", "btnAllUpd", "Label3", "Label4", "Label5", "Label6",
                                 "stgUmaren", "stgUmatan1", "stgUmatan2", "rbtnPC", "rbtnUS", "GroupBox1"})
            if (auto* widget = w_.findChild<QWidget*>(u(name))) widget->hide();
        loadEngineSettings(settingsPath());
        paths_ = StorePaths(w_.state().storeRoot);
        race_ = localRaceKey(header);
        local_ = true;
        try {
            card_ = buildLocalRaceCard(source(), header, rows, progress());
        } catch (const IoError& e) {
            showMessage(&w_, MessageKind::Error, e.what());
            return;
        }
        grid_->show();
        grid_->setEnabled(true);
        showCard();
        raceCardShown(*media_, card_, race_);  // the silks strip for the composed runners
        for (const char* name : {"pgcMain", "dgrFuku", "btnAllUpd"}) w_.findChild<QWidget*>(u(name))->show();
        w_.findChild<QTabWidget*>(u("pgcMain"))->setCurrentIndex(1);
        for (const char* name : {"btnDataGet", "btnOddsGet", "btnResult", "btnVtr"})
            w_.findChild<QPushButton*>(u(name))->setEnabled(false);
        w_.setRaceItemEnabled(u("mnuFileOut"), true);
        w_.setRaceItemEnabled(u("mnuPdfOut"), true);
    }

    // The built card's header and rows on the window.
    void showCard() {
        if (card_.rows.empty()) {
            auto* bar = w_.findChild<QProgressBar*>(u("prgExec"));
            bar->setMaximum(100);
            bar->setValue(100);
        }
        fillHeader();
        grid_->setRows(card_.rows);
        grid_->clearSelection();
        // Texts that come out wider than designed take a pixel less of font, so that every column still shows.
        // First the designed widths, then each column as narrow as its texts allow.
        for (int step = 0; step < 4; ++step) {
            pixels_ = step < 2 ? 12 : 13 - step;
            grid_->setFont(pGothic(pixels_));
            const int room = grid_->viewport()->width();
            if (fitColumns(grid_, kCardColumnTable, false, pixels_, step > 0) <= room) break;
        }
    }

    void fillHeader() {
        const CardHeader& h = card_.header;
        const std::pair<const char*, const std::string*> texts[] = {
            {"lbl_Date", &h.date}, {"lbl_RaceNum", &h.raceNum},   {"lbl_h_time", &h.hTime}, {"lbl_Crs", &h.crs},
            {"lbl_WeBa", &h.weBa}, {"lbl_RaceName", &h.raceName}, {"lbl_biko", &h.biko}};
        for (const auto& [name, text] : texts) {
            QLabel* l = label(name);
            if (!designed_.count(name)) designed_[name] = l->geometry();
            l->setGeometry(designed_[name]);
            l->setText(qs(*text));
            const int need = l->sizeHint().width();
            if (need > l->width()) {
                const int right = l->geometry().right();
                l->resize(need, l->height());
                if (l->alignment() & Qt::AlignRight) l->move(right - need + 1, l->y());
            }
        }
        // The labels of the first line follow one another when a text came out wider than its place.
        QLabel* previous = nullptr;
        for (const char* name : {"lbl_Date", "lbl_RaceNum", "lbl_h_time", "lbl_Crs", "lbl_WeBa"}) {
            QLabel* l = label(name);
            if (previous && l->x() < previous->geometry().right() + 6) l->move(previous->geometry().right() + 6, l->y());
            previous = l;
        }
        label("lbl_h_time")->setStyleSheet(h.hTimeRed ? u("color: red;") : QString());
        label("lbl_Crs")->setStyleSheet(h.crsRed ? u("color: red;") : QString());
        w_.setRaceItemEnabled(u("mnuOddsList"), h.oddsListEnabled);
        for (std::size_t i = 0; i < 4; ++i) {
            QLabel* l = label(kFigureLabels[i]);
            l->setText(qs(card_.figures[i]));
            l->adjustSize();
        }
    }

    bool userMarks() const { return w_.findChild<QRadioButton*>(u("rbtnUS"))->isChecked(); }

    // Refreshed cells into the rows of the same horse numbers, then the grid.
    void refreshCells(const std::vector<CardRefresh>& cells, const std::function<void(std::size_t, const CardRefresh&)>& put) {
        for (const CardRefresh& c : cells)
            for (std::size_t r = 0; r < card_.rows.size(); ++r)
                if (card_.rows[r][1].text == c.umaban) put(r, c);
        grid_->setRows(card_.rows);
    }

    void showBets() {
        for (std::size_t g = 0; g < 3; ++g) {
            label(kBetTitles[g])->setText(qs(card_.bets[g].title));
            label(kBetTitles[g])->adjustSize();
            std::vector<ViewRow> rows;
            for (const BetLine& b : card_.bets[g].lines) rows.push_back({{b.combination}, {b.odds}, {b.result}});
            bets_[g]->setRows(std::move(rows));
            bets_[g]->clearSelection();
            fitColumns(bets_[g], kBetColumns, true);
            bets_[g]->setVisible(w_.findChild<QWidget*>(u("GroupBox1"))->isVisible() || card_.betsTab);
        }
    }

    // The US marks come from column 16 as it stands (the input screen writes there).
    void rebuildBets() {
        // Six rows in all for the PC bets, eighteen for the US bets, header included.
        for (Grid* g : bets_) g->rows()->setMinimumRows(userMarks() ? 17 : 5);
        if (label("lbl_Date")->text().isEmpty()) return;  // no race shown
        RunnerTable& t = runnerTable(kMainWindowCaller);
        if (userMarks())
            for (std::size_t r = 0; r < card_.rows.size() && r < t.size(); ++r)
                t.marks[kSlotUserMark][r] = trimBoth(card_.rows[r][16].text);
        card_.bets = buildBets(paths_, race_, cardMarks(userMarks()), cardUmabans(card_));
        showBets();
    }

    void doubleClick(const QModelIndex& i) {
        if (!i.isValid() || static_cast<std::size_t>(i.row()) >= card_.rows.size()) return;
        const auto row = static_cast<std::size_t>(i.row());
        if (i.column() == 2) openHorse(row);
        if (i.column() >= 10 && i.column() <= 14) openPastRace(row, static_cast<std::size_t>(i.column() - 10));
        if (i.column() == 5) openPerson(kJockeys, runnerTable(kMainWindowCaller).jockeyCodes, row, 5);
        if (i.column() == 6) openPerson(kTrainers, runnerTable(kMainWindowCaller).trainerCodes, row, 6);
        if (i.column() == 16) enterUserMark(row);
    }

    // The jockey or trainer data screen of a row, when its cell names someone the store knows.
    void openPerson(const PersonKind& kind, const RunnerTable::Texts& codes, std::size_t row, std::size_t col) {
        const std::string name = trimBoth(card_.rows[row][col].text);
        const std::string code = row < codes.size() ? codes[row] : std::string();
        if (name.empty() || name == "**" || findPerson(kind, paths_, code, name).empty()) return;
        openPersonData(kind, paths_.root(), code, name, sj("通常"), &w_);
    }

    void openHorse(std::size_t row) {
        const RunnerTable& t = runnerTable(kMainWindowCaller);
        if (trimBoth(card_.rows[row][2].text).empty() || row >= t.kettoNums.size()) return;
        if (local_)
            openHorseData(w_.screenContext(), {t.kettoNums[row], sj("通常"), std::nullopt, race_.jyoCD, card_.courseKey});
        else
            openHorseData(w_.screenContext(), {t.kettoNums[row], sj("通常"), race_, {}, {}});
    }

    // The result screen of the past race in a past-run cell (column 10 + k).
    void openPastRace(std::size_t row, std::size_t k) {
        const RunnerTable& t = runnerTable(kMainWindowCaller);
        if (trimBoth(card_.rows[row][10 + k].text).empty() || row >= t.pastRaceKeys[k].size()) return;
        if (const auto past = RaceKey::parse(t.pastRaceKeys[k][row])) openRaceResult(w_.screenContext(), *past, sj("過去"));
    }

    void enterUserMark(std::size_t row);

    // The odds list of the shown race, with the card's odds update behind its button.
    void openOdds() {
        OddsListOpening o;
        o.race = race_;
        o.labels = {card_.header.date, card_.header.raceNum, card_.header.hTime, card_.header.raceName};
        for (const ViewRow& r : card_.rows) o.runners.push_back({r[1].text, r[2].text});
        o.updateEnabled = w_.findChild<QPushButton*>(u("btnOddsGet"))->isEnabled();
        o.updateOdds = [this] { return updateOdds(); };
        openOddsList(w_.screenContext(), std::move(o));
    }

    // The odds update: the race's odds fetched (unless its results are final) with
    // column 7 refreshed, new PC marks (not for a steeplechase) and bets; btnOddsGet
    // follows the odds-final state, which is returned.
    bool updateOdds() {
        const std::string kubun = trimBoth(getField(Family::RA, findRace(paths_, race_), "DataKubun"));
        if (kubun != "7" && kubun != "A" && fetchRaceOdds(w_.screenContext(), race_)) liveHooks().refreshOdds();
        if (!card_.header.crs.starts_with(sj("障"))) {
            loadEngineSettings(settingsPath());
            remarkCard(source(), race_, card_, userMarks());
            grid_->rows()->setRows(card_.rows);
            showBets();
        } else {
            rebuildBets();
        }
        const bool oddsFinal = isOddsFinal(paths_, race_.year, race_.monthDay, race_.jyoCD, race_.raceNum);
        w_.findChild<QPushButton*>(u("btnOddsGet"))->setEnabled(!oddsFinal);
        return oddsFinal;
    }

    void saveCsv() {
        const QString file = QFileDialog::getSaveFileName(&w_, QString(), QString(), u("csvファイル (*.csv)"));
        if (file.isEmpty()) return;
        QString name = file;
        if (!name.endsWith(u(".csv"), Qt::CaseInsensitive)) name += u(".csv");
        try {
            writeFileAtomic(name.toStdString(), cardCsv(card_));
        } catch (const IoError& e) {
            showMessage(&w_, MessageKind::Error, e.what());
        }
    }

    void toggle(const PredictionOption& o) {
        const bool on = w_.action(u(o.item))->isChecked();
        engineSettings().*o.flag = on;
        IniFile(settingsPath()).write(kEngineSection, o.key, on ? "1" : "0");
        const std::string text = sj(on ? o.on : o.off) + "\r\n" + sj("この設定変更により予想印が変わる可能性があります。") +
                                 "\r\n" + sj("※地方重賞予想はこの設定に影響されません。") + "\r\n\r\n" +
                                 sj("中央レースの出馬表を表示している場合には、レース一覧で") + "\r\n" + sj(o.last);
        showMessage(&w_, MessageKind::Warning, text);
    }

    // An old data-service control keeps the race viewer off.
    void toggleRaceViewer() {
        QAction* a = w_.action(u("mnuOptRViewer"));
        if (!w_.state().raceViewerMenuEnabled) a->setChecked(false);
        IniFile(settingsPath()).write("RACE_VIEW", "race_vtr", a->isChecked() ? "1" : "");
        if (!a->isChecked()) w_.findChild<QPushButton*>(u("btnVtr"))->setEnabled(false);
    }

    void toggleColouring() {
        colourPastRuns_ = w_.action(u("mnuOptCha"))->isChecked();
        IniFile(settingsPath()).write("DSP_SET", "kako_clr", colourPastRuns_ ? "1" : "0");
        grid_->viewport()->update();
    }

    TfrmMain& w_;
    Grid* grid_ = nullptr;
    RaceMedia* media_ = nullptr;
    std::array<Grid*, 3> bets_{};
    StorePaths paths_{""};
    RaceKey race_;
    RaceCard card_;
    bool local_ = false;  // the card is a provisional card of the local graded race screen
    bool colourPastRuns_ = false;
    int pixels_ = 12;  // the card's font size
    std::map<std::string, QRect> designed_;  // header label places before any text widened them
};

void CardDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const auto row = static_cast<std::size_t>(index.row()), col = static_cast<std::size_t>(index.column());
    const std::uint32_t rgb = cardCellBackground(pane_.card(), row, col, pane_.colourPastRuns());
    painter->fillRect(option.rect, QColor::fromRgb(rgb));
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    if (col == 0 && row < pane_.card().rows.size()) {
        const std::string& waku = pane_.card().rows[row][0].text;
        o.palette.setColor(QPalette::Text, waku == "2" || waku == "4" ? Qt::white : Qt::black);
    }
    o.state &= ~QStyle::State_Selected;
    o.backgroundBrush = QBrush(QColor::fromRgb(rgb));
    if (col >= 10 && col <= 14) {
        // Two lines from the top left, breaking only at the text's own line break.
        painter->save();
        painter->setFont(gothic(pane_.pixels()));
        painter->setPen(Qt::black);
        const QStringList lines = o.text.remove(QChar(u'\r')).split(QChar(u'\n'));
        for (int l = 0; l < lines.size(); ++l)
            painter->drawText(option.rect.adjusted(1, pane_.pixels() * l, 0, 0), Qt::AlignLeft | Qt::AlignTop, lines[l]);
        painter->restore();
        painter->setPen(QColor(0xC0, 0xC0, 0xC0));
        return;
    }
    // Drawn from o itself: the base class would take the colours from the model again
    // and lose the white numbers of frames 2 and 4.
    QStyle* style = o.widget ? o.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
}

// The user prediction input: one runner's mark, the unique marks held by others disabled.
class TfrmUserYoso : public QDialog {
public:
    TfrmUserYoso(QWidget* parent, const std::string& umaban, const std::string& bamei, const UserMarkChoice& choice)
        : QDialog(parent) {
        setObjectName(u("frmUserYoso"));
        setWindowTitle(u("ユーザー予想の入力"));
        setFixedSize(403, 97);
        auto* num = new QLabel(qs(umaban) + u("番"), this);
        num->setObjectName(u("lbl_Unum"));
        num->setGeometry(8, 8, 33, 17);
        auto* name = new QLabel(qs(bamei), this);
        name->setObjectName(u("lbl_Uname"));
        name->setGeometry(48, 8, 193, 17);
        auto* entry = new QPushButton(u("印を入力"), this);
        entry->setObjectName(u("btnEntry"));
        entry->setGeometry(264, 8, 129, 25);
        auto* cancel = new QPushButton(u("キャンセル"), this);
        cancel->setObjectName(u("btnCancel"));
        cancel->setGeometry(328, 40, 65, 25);
        auto* group = new QGroupBox(u("予想印"), this);
        group->setObjectName(u("GroupBox1"));
        group->setGeometry(8, 36, 297, 57);
        const char* captions[] = {"◎", "○", "▲", "△", "×", "☆", "注", "無印"};
        for (std::size_t b = 0; b < kUserMarkButtons; ++b) {
            auto* r = new QRadioButton(u(captions[b]), group);
            r->setObjectName(QString::asprintf("rbtn%02zu", b + 1));
            r->setGeometry(16 + 32 * static_cast<int>(b), 16, 32, 34);
            r->setEnabled(choice.enabled[b]);
            r->setChecked(b == choice.selected);
            buttons_.addButton(r, static_cast<int>(b));
        }
        connect(entry, &QPushButton::clicked, this, &QDialog::accept);
        connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    }
    std::size_t chosen() const { return static_cast<std::size_t>(std::max(0, buttons_.checkedId())); }

private:
    QButtonGroup buttons_;
};

void RaceCardPane::enterUserMark(std::size_t row) {
    const UserMarkChoice choice = userMarkChoice(card_.rows, row);
    TfrmUserYoso dialog(&w_, trimBoth(card_.rows[row][1].text), trimBoth(card_.rows[row][2].text), choice);
    dialog.move(w_.x() + 295, w_.y() + 157);
    if (dialog.exec() != QDialog::Accepted) return;
    const std::string mark = userMarkTexts()[dialog.chosen()];
    card_.rows[row][16].text = mark;
    grid_->rows()->setRows(card_.rows);
    try {
        storeUserMark(paths_, race_, card_.rows[row][1].text, card_.rows[row][2].text, mark);
    } catch (const IoError& e) {
        showMessage(&w_, MessageKind::Error, e.what());
    }
}

}  // namespace

void installRaceCard(TfrmMain& window) { installLiveUpdates(window, (new RaceCardPane(window))->liveHooks()); }

}  // namespace tarvo
