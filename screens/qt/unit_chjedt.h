// The runner editor TfrmChjEdt: the weight, jockey and trainer of one row of
// the local graded race screen's entry grid, edited in place, with steps to
// the neighbouring rows. Modal.
#pragma once

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "local_card.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace tarvo {

class TfrmChjEdt : public QDialog {
    Q_OBJECT

public:
    // Edits the selected row of entry (row 1 when none); changed runs after every change to the grid.
    TfrmChjEdt(const StorePaths& paths, LocalEntry& entry, std::function<void()> changed, QWidget* parent);

private:
    // The jockey (column 5) or trainer (column 7) half of the screen.
    struct Person {
        explicit Person(std::size_t c) : column(c) {}
        std::size_t column;
        std::vector<std::string> lines;
        QLabel* current = nullptr;
        QLabel* next = nullptr;
        QLineEdit* direct = nullptr;
        QLineEdit* search = nullptr;
        QListWidget* list = nullptr;
        std::string nextCode;
    };

    void buildPerson(Person& p, int left, const char* caption, const char* button, const char* prefix);
    void showRow();
    void step(int delta);
    void searchChanged(Person& p);
    void listClicked(Person& p);
    void change(Person& p);
    void setNext(Person& p, const std::string& name, const std::string& code);
    EntryRow& row() { return entry_.rows[entry_.selected - 1]; }

    LocalEntry& entry_;
    std::function<void()> changed_;
    Person jockey_{5}, trainer_{7};
    QLabel* lblUban_ = nullptr;
    QLabel* lblUname_ = nullptr;
    QLabel* lblWgt_ = nullptr;
    QComboBox* cboWgt_ = nullptr;
};

}  // namespace tarvo
