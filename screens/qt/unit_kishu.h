// The jockey data screen TfrmKishu and the trainer data screen TfrmChokyo:
// one person's name, affiliation, place counts of three years, latest graded
// wins and the table by track and distance band. The screens of other screens
// open them through openPersonData.
#pragma once

#include <QDialog>
#include <optional>
#include <QPoint>
#include <string>

#include "person_view.h"

class QComboBox;

namespace tarvo {

class Grid;

class TfrmPersonData : public QDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 780;
    static constexpr int kClientHeight = 640;

    QComboBox* conditions() const { return cboCond_; }
    Grid* table() const { return stgChaList_; }
    const std::string& openerTag() const { return openerTag_; }

protected:
    TfrmPersonData(const PersonKind& kind, const std::string& storeRoot, const std::string& code,
                   const std::string& name, const std::string& openerTag, QWidget* parent);

private:
    void showCondition(int index);

    const PersonKind& kind_;
    std::string openerTag_;
    PersonData data_;
    QComboBox* cboCond_ = nullptr;
    Grid* stgChaList_ = nullptr;
};

class TfrmKishu : public TfrmPersonData {
    Q_OBJECT
public:
    TfrmKishu(const std::string& storeRoot, const std::string& code, const std::string& name,
              const std::string& openerTag, QWidget* parent = nullptr)
        : TfrmPersonData(kJockeys, storeRoot, code, name, openerTag, parent) {}
};

class TfrmChokyo : public TfrmPersonData {
    Q_OBJECT
public:
    TfrmChokyo(const std::string& storeRoot, const std::string& code, const std::string& name,
               const std::string& openerTag, QWidget* parent = nullptr)
        : TfrmPersonData(kTrainers, storeRoot, code, name, openerTag, parent) {}
};

// Opens the data screen of a jockey (kJockeys) or trainer (kTrainers) modally.
// code and name are CP932: the code when it is a positive number, else the short
// name finds the record. openerTag names the opener ("通常", "結果", "一覧",
// "地方", "調教映像", CP932). The screen is placed 100 below and the kind's
// distance right of the parent's corner, or at position when one is given.
void openPersonData(const PersonKind& kind, const std::string& storeRoot, const std::string& code,
                    const std::string& name, const std::string& openerTag, QWidget* parent,
                    std::optional<QPoint> position = std::nullopt);

}  // namespace tarvo
