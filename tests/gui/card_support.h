// Shared by the screen tests of the race card: a stored 芝1600 race of the
// Tokyo spring meeting and the choice of the only race of its date.
#pragma once

#include <QDate>
#include <QDateEdit>
#include <QListWidget>
#include <gtest/gtest.h>

#include "layouts.h"
#include "race_card.h"
#include "record_io.h"
#include "store_fixture.h"
#include "unit_main.h"

namespace tarvo::test {

// Stores the RA line of a turf mile race of ra (date 2024-06-02 in the tests)
// with a start time of 15:40 and good going.
inline void storeTurfMileRace(const StoreFixture& store, const StoreFixture::Race& ra, const char* dataKubun) {
    LineBuilder b(Family::RA);
    setRaceKey(b, ra);
    for (const auto& [name, value] : {std::pair{"DataKubun", dataKubun}, {"TrackCD", "10"}, {"Kyori", "1600"},
                                      {"SyubetuCD", "13"}, {"JyokenCD5", "005"}, {"HassoTime", "1540"},
                                      {"HassoTimeBefore", "0000"}, {"KyoriBefore", "0000"}, {"TrackCDBefore", "00"},
                                      {"TenkoCD", "1"}, {"SibaBabaCD", "1"}})
        b.assignRaw(name, value);
    writeRecord(store.paths.ra(ra.year, ra.monthDay, ra.jyoCD), b.line(), recordKey(Family::RA));
}

// Installs the race card and chooses the only race of the date, as a click in the race list does.
inline void showOnlyRace(TfrmMain& w, const QDate& date) {
    installRaceCard(w);
    w.findChild<QDateEdit*>(QStringLiteral("dtpRcDate"))->setDate(date);
    auto* list = w.findChild<QListWidget*>(QStringLiteral("lstRace"));
    ASSERT_EQ(list->count(), 1);
    list->setCurrentRow(0);
    emit list->itemClicked(list->item(0));
}

}  // namespace tarvo::test
