#include "race_media.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDesktopServices>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QUrl>
#include <map>

#include "babadif_download.h"
#include "card_view.h"
#include "code_tables.h"
#include "cp932.h"
#include "fonts.h"
#include "fsys.h"
#include "media_view.h"
#include "msgbox.h"
#include "qtext.h"
#include "runner_tables.h"
#include "screen_links.h"
#include "textfn.h"
#include "unit_main.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr int kStripColumnWidth = 30;
constexpr int kStripRowHeights[] = {12, 12, 30};
constexpr int kPictureRow = 2;

// The buttons "一括取得" disables and gives back their state, and the controls it locks.
constexpr const char* kRememberedButtons[] = {"btnVtr", "btnOddsGet", "btnResult", "btnDataGet", "btnOddsBch", "btnRstBch"};
constexpr const char* kLockedControls[] = {"lstRace", "dtpRcDate", "stgUmaList", "pgcMain", "btnAllUpd", "btnDList"};

}  // namespace

class RaceMedia : public QObject {
public:
    RaceMedia(TfrmMain& w, QTableView* cardGrid) : QObject(&w), w_(w), cardGrid_(cardGrid) {
        strip_ = w.findChild<QTableWidget*>(u("dgrFuku"));
        strip_->horizontalHeader()->hide();
        strip_->verticalHeader()->hide();
        strip_->setEditTriggers(QAbstractItemView::NoEditTriggers);
        strip_->setSelectionMode(QAbstractItemView::SingleSelection);
        strip_->setItemDelegate(new StripDelegate(*this, strip_));
        strip_->setRowCount(3);
        for (int r = 0; r < 3; ++r) strip_->setRowHeight(r, kStripRowHeights[r]);
        connect(strip_, &QTableWidget::cellDoubleClicked, this, [this](int row, int col) { stripDoubleClick(row, col); });
        connect(w.findChild<QPushButton*>(u("btnAllUpd")), &QPushButton::clicked, this, [this] { fetchAll(); });
        connect(button("btnVtr"), &QPushButton::clicked, this, [this] { playRaceVideo(context(), race_); });
        // After the race card's own handler has written the option.
        connect(w.action(u("mnuOptRViewer")), &QAction::triggered, this, [this] { updateVideoButton(); },
                Qt::QueuedConnection);

        popup_ = new QMenu(&w);
        popup_->setObjectName(u("pmnVTR"));
        playPast_ = popup_->addAction(QString());
        playPast_->setObjectName(u("pmnPlayVTR"));
        connect(playPast_, &QAction::triggered, this, [this] { playPastRace(); });
        cardGrid_->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(cardGrid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) { pastRunPopup(at); });

        w.setScreenOpener(u("mnuDwBaba"), [this] { downloadLocalTrackData(); });
        w.setScreenOpener(u("mnuHelp"), [this] { openHelp(); });
        w.setScreenOpener(u("mnuOpenSite"), [this] { QDesktopServices::openUrl(QUrl(qs(supportSiteUrl(settingsPath())))); });
    }

    void cardShown(const RaceCard& card, const RaceKey& race) {
        race_ = race;
        paths_ = StorePaths(w_.state().storeRoot);
        frames_.clear();
        numbers_.clear();
        for (const ViewRow& row : card.rows) {
            frames_.push_back(trimBoth(row[0].text));
            numbers_.push_back(trimBoth(row[1].text));
        }
        ownerCodes_ = card.ownerCodes;
        strip_->setColumnCount(static_cast<int>(card.rows.size()));
        for (int c = 0; c < strip_->columnCount(); ++c) strip_->setColumnWidth(c, kStripColumnWidth);
        strip_->viewport()->update();
        updateVideoButton();
    }

    // What a strip cell shows.
    std::string frame(int c) const { return at(frames_, c); }
    std::string number(int c) const { return at(numbers_, c); }
    std::string picture(int c) const { return silksPicture(paths_, at(ownerCodes_, c)); }

private:
    class StripDelegate : public QStyledItemDelegate {
    public:
        StripDelegate(const RaceMedia& media, QObject* parent) : QStyledItemDelegate(parent), media_(media) {}
        void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
            const int c = index.column();
            const QRect r = option.rect;
            p->save();
            p->setFont(pGothic(10));
            if (index.row() == 0) {
                const std::string waku = media_.frame(c);
                p->fillRect(r, QColor::fromRgb(frameColour(waku)));
                p->setPen(waku == "2" || waku == "4" ? Qt::white : Qt::black);
                p->drawText(r, Qt::AlignCenter, qs(waku));
            } else if (index.row() == 1) {
                p->fillRect(r, Qt::white);
                p->setPen(Qt::black);
                p->drawText(r, Qt::AlignCenter, qs(media_.number(c)));
            } else {
                p->fillRect(r, Qt::white);
                if (const std::string file = media_.picture(c); !file.empty()) p->drawPixmap(r, QPixmap(qs(file)));
            }
            p->restore();
        }

    private:
        const RaceMedia& media_;
    };

    static std::string at(const std::vector<std::string>& v, int i) {
        return i >= 0 && static_cast<std::size_t>(i) < v.size() ? v[static_cast<std::size_t>(i)] : std::string();
    }
    std::string settingsPath() const { return w_.state().settingsPath(); }
    QPushButton* button(const char* name) const { return w_.findChild<QPushButton*>(u(name)); }
    bool optionOn() const { return w_.action(u("mnuOptRViewer"))->isChecked(); }
    ScreenContext context() {
        ScreenContext c = w_.screenContext();
        c.raceVideo = optionOn();
        return c;
    }

    void updateVideoButton() {
        const bool shown = toIntDef(race_.raceNum, 0) > 0;
        button("btnVtr")->setEnabled(shown && raceVideoAvailable(context(), race_));
    }

    void stripDoubleClick(int row, int col) {
        const RunnerTable& t = runnerTable(kMainWindowCaller);
        if (row != kPictureRow || col < 0 || static_cast<std::size_t>(col) >= t.kettoNums.size()) return;
        const std::string ketto = trimBoth(t.kettoNums[static_cast<std::size_t>(col)]);
        if (ketto.empty()) return;
        openHorseData(context(), {ketto, sj("服色"), race_, {}, {}});
        strip_->viewport()->update();
    }

    void fetchAll() {
        if (strip_->columnCount() == 0) return;
        std::map<QWidget*, bool> remembered;
        for (const char* name : kRememberedButtons) {
            QWidget* b = button(name);
            remembered[b] = b->isEnabled();
            b->setEnabled(false);
        }
        for (const char* name : kLockedControls) w_.findChild<QWidget*>(u(name))->setEnabled(false);
        try {
            fetchAllSilks(paths_, w_.jvlink(), ownerCodes_, [this] {
                for (int c = 0; c < strip_->columnCount(); ++c) strip_->setColumnWidth(c, kStripColumnWidth);
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        } catch (const IoError& e) {
            showMessage(&w_, MessageKind::Error, e.what());
        }
        strip_->viewport()->update();
        for (const char* name : kLockedControls) w_.findChild<QWidget*>(u(name))->setEnabled(true);
        for (const auto& [b, enabled] : remembered) b->setEnabled(enabled);
    }

    // Right button on a past-run cell (columns 10 to 14): the popup to play that race's video.
    void pastRunPopup(const QPoint& at) {
        const QModelIndex i = cardGrid_->indexAt(at);
        const RunnerTable& t = runnerTable(kMainWindowCaller);
        if (!i.isValid() || i.column() < 10 || i.column() > 14) return;
        const auto& keys = t.pastRaceKeys[static_cast<std::size_t>(i.column() - 10)];
        const auto row = static_cast<std::size_t>(i.row());
        const std::optional<RaceKey> past = row < keys.size() ? RaceKey::parse(trimBoth(keys[row])) : std::nullopt;
        if (!past) return;
        pastRace_ = *past;
        playPast_->setText(qs(pastRunVideoCaption(paths_, pastRace_)));
        playPast_->setEnabled(optionOn() && jvlinkCheck(pastRace_));
        popup_->popup(cardGrid_->viewport()->mapToGlobal(at));
    }

    bool jvlinkCheck(const RaceKey& race) { return w_.jvlink().JVMVCheck(race.text()) > 0; }

    void playPastRace() {
        if (jvlinkCheck(pastRace_)) playRaceVideo(context(), pastRace_);
        else showMessage(&w_, MessageKind::Error, sj("当該レースの映像はありません"));
    }

    void downloadLocalTrackData() {
        const DownloadOutcome o = downloadBabadif(babadifUrl(settingsPath()), w_.state().fileFolder);
        showMessage(&w_, o.ok ? MessageKind::Information : MessageKind::Error, o.message);
    }

    void openHelp() {
        const std::string file = w_.state().helpFolder + "index.html";
        if (fileExists(file)) QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(file)));
    }

    TfrmMain& w_;
    QTableView* cardGrid_;
    QTableWidget* strip_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* playPast_ = nullptr;
    StorePaths paths_{""};
    RaceKey race_, pastRace_;
    std::vector<std::string> frames_, numbers_, ownerCodes_;
};

RaceMedia* installRaceMedia(TfrmMain& window, QTableView* cardGrid) { return new RaceMedia(window, cardGrid); }

void raceCardShown(RaceMedia& media, const RaceCard& card, const RaceKey& race) { media.cardShown(card, race); }

}  // namespace tarvo
