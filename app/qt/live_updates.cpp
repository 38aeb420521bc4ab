#include "live_updates.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "cp932.h"
#include "fsys.h"
#include "live_fetch.h"
#include "lookups.h"
#include "msgbox.h"
#include "qtext.h"
#include "race_list.h"
#include "screen_links.h"
#include "startup.h"
#include "textfn.h"
#include "unit_main.h"

namespace tarvo {
namespace {

QString u(const char* utf8) { return QString::fromUtf8(utf8); }

// The buttons one fetch disables at its start.
constexpr const char* kFetchButtons[] = {"btnDataGet", "btnOddsGet", "btnResult", "btnOddsBch", "btnRstBch", "btnDList"};

class LivePane : public QObject, public LiveView {
public:
    LivePane(TfrmMain& w, LiveCardHooks hooks)
        : QObject(&w), w_(w), hooks_(std::move(hooks)), live_(w.jvlink(), StorePaths(w.state().storeRoot), *this) {
        connect(button("btnDataGet"), &QPushButton::clicked, this, [this] { guarded(&LivePane::dataGet); });
        connect(button("btnOddsGet"), &QPushButton::clicked, this, [this] { guarded(&LivePane::oddsGet); });
        connect(button("btnResult"), &QPushButton::clicked, this, [this] { guarded(&LivePane::result); });
        connect(button("btnOddsBch"), &QPushButton::clicked, this, [this] { batch(BatchKind::Odds); });
        connect(button("btnRstBch"), &QPushButton::clicked, this, [this] { batch(BatchKind::Results); });
        connect(button("btnCancel"), &QPushButton::clicked, this, [this] { live_.cancel(); });
    }

    void message(MessageKind kind, const std::string& text) override { showMessage(&w_, kind, text); }

private:
    // A store failure ends the action with its message; the buttons the action
    // disabled come back as after a race selection.
    void guarded(void (LivePane::*action)()) {
        try {
            (this->*action)();
        } catch (const IoError& e) {
            showMessage(&w_, MessageKind::Error, e.what());
            enable({"btnDataGet", "btnOddsBch", "btnRstBch", "btnDList"}, normalMode());
            if (const auto race = hooks_.shownRace()) raceButtonsBack(*race);
        }
    }

    template <class T = QWidget>
    T* child(const char* name) const {
        return w_.findChild<T*>(u(name));
    }
    QPushButton* button(const char* name) const { return child<QPushButton>(name); }
    void enable(std::initializer_list<const char*> names, bool on) const {
        for (const char* n : names) child(n)->setEnabled(on);
    }
    StorePaths paths() const { return StorePaths(w_.state().storeRoot); }
    bool normalMode() const { return !w_.state().readOnly; }
    std::string pickedDate() const {
        const QDate d = child<QDateEdit>("dtpRcDate")->date();
        return QString::asprintf("%04d%02d%02d", d.year(), d.month(), d.day()).toStdString();
    }
    std::string raceKubun(const RaceKey& race) const {
        return trimBoth(getField(Family::RA, findRace(paths(), race), "DataKubun"));
    }
    bool oddsFinal(const RaceKey& r) const { return isOddsFinal(paths(), r.year, r.monthDay, r.jyoCD, r.raceNum); }
    std::string selectedLine() const {
        const QListWidgetItem* item = child<QListWidget>("lstRace")->currentItem();
        return item ? sjs(item->text()) : std::string();
    }
    void showCaption() { w_.setWindowTitle(qs(weatherCaption(kAppCaption, live_.weatherSummary()))); }
    void fetchChanges(const std::string& date) {
        live_.fetchChanges(date);
        showCaption();
    }
    void showGrid(bool on) const {
        QWidget* grid = child("stgUmaList");
        grid->setVisible(on);
        grid->setEnabled(on);
    }
    // The buttons of the shown race once a fetch has ended.
    void raceButtonsBack(const RaceKey& race) const {
        showGrid(true);
        button("btnResult")->setEnabled(true);
        child("pgcMain")->show();
        button("btnOddsGet")->setEnabled(normalMode() && !oddsFinal(race));
    }

    void dataGet() {
        for (const char* n : kFetchButtons) child(n)->setEnabled(false);
        child("pgcMain")->hide();
        const std::string date = pickedDate();
        fetchChanges(date);
        live_.fetchWeights(date);
        if (const auto race = hooks_.shownRace()) {
            showGrid(false);
            hooks_.showAgain(selectedLine());
            raceButtonsBack(*race);
        }
        enable({"btnDataGet", "btnOddsBch", "btnRstBch", "btnDList"}, true);
    }

    // The odds of the shown race and the card's column 7 when win odds arrived.
    void fetchOdds(const RaceKey& race) {
        if (live_.fetchOdds(race)) hooks_.refreshOdds();
    }

    void oddsGet() {
        const auto race = hooks_.shownRace();
        if (!race) return;
        const std::string kubun = raceKubun(*race);
        for (const char* n : kFetchButtons) child(n)->setEnabled(false);
        if (normalMode() && kubun != "7" && kubun != "A") fetchOdds(*race);
        hooks_.remark();
        enable({"btnDataGet", "btnResult", "btnOddsBch", "btnRstBch", "btnDList"}, true);
        button("btnOddsGet")->setEnabled(normalMode() && !oddsFinal(*race));
    }

    void result() {
        const auto race = hooks_.shownRace();
        if (!race) return;
        const ScreenContext context = w_.screenContext();
        QPushButton* vtr = button("btnVtr");
        if (!w_.state().raceViewer) vtr->setEnabled(false);
        else if (!vtr->isEnabled()) vtr->setEnabled(raceVideoAvailable(context, *race));
        const std::string kubun = raceKubun(*race);
        if (kubun != "6" && kubun != "7" && kubun != "A") {
            if (normalMode()) {
                live_.fetchResults(*race);
                fetchOdds(*race);
                hooks_.refreshWeights();
                hooks_.refillHeader();
            }
            hooks_.remark();
            if (oddsFinal(*race)) button("btnOddsGet")->setEnabled(false);
            if (toIntDef(raceKubun(*race), 0) < 3) return;
        }
        openRaceResult(context, *race, sj("通常"));
    }

    void batch(BatchKind kind) {
        auto* progress = child<QProgressBar>("prgExec");
        auto* list = child<QListWidget>("lstRace");
        live_.clearCancel();
        button("btnCancel")->show();
        button("btnOddsBch")->hide();
        button("btnRstBch")->hide();
        QCoreApplication::processEvents();
        enable({"btnDataGet", "dtpRcDate", "lstRace", "btnResult", "btnOddsGet", "btnDList"}, false);
        child("pgcMain")->hide();
        progress->setMinimum(0);
        progress->setMaximum(std::max(0, list->count() - 1));
        progress->setValue(0);

        const std::optional<RaceKey> shown = hooks_.shownRace();
        QPushButton* vtr = button("btnVtr");
        const bool vtrWasEnabled = vtr->isEnabled();
        if (shown) {
            showGrid(false);
            vtr->setEnabled(false);
        }
        const std::string date = pickedDate();
        std::vector<std::string> lines;
        std::vector<RaceKey> races;
        for (int i = 0; i < list->count(); ++i) {
            lines.push_back(sjs(list->item(i)->text()));
            const RaceLineParts parts = readRaceListLine(lines.back());
            races.emplace_back(date.substr(0, 4), date.substr(4), parts.jyoCD, parts.raceNum);
        }
        try {
            live_.runBatch(kind, date, races, normalMode(), [&](const BatchStep& step) {
                if (step.index == 0) showCaption();
                const bool hasStart = !child<QLabel>("lbl_h_time")->text().startsWith(u("--"));
                if (step.actions != "skip" && shown && step.race == *shown && hasStart) {
                    hooks_.showAgain(lines[step.index]);
                    if (step.raceCancelled) {
                        auto* cancel = child<QLabel>("lbl_Cancel");
                        cancel->setText(u("<中止>"));
                        cancel->show();
                        button("btnResult")->setEnabled(false);
                    }
                }
                progress->setValue(static_cast<int>(step.index));
                QCoreApplication::processEvents();
            });
        } catch (const IoError& e) {
            showMessage(&w_, MessageKind::Error, e.what());
        }
        showCaption();
        button("btnOddsBch")->show();
        button("btnRstBch")->show();
        button("btnCancel")->hide();
        enable({"btnDataGet", "dtpRcDate", "lstRace", "btnDList"}, true);
        if (shown) {
            raceButtonsBack(*shown);
            vtr->setEnabled(vtrWasEnabled);
        }
    }

    TfrmMain& w_;
    LiveCardHooks hooks_;
    LiveUpdates live_;
};

}  // namespace

void installLiveUpdates(TfrmMain& window, LiveCardHooks hooks) { new LivePane(window, std::move(hooks)); }

}  // namespace tarvo
