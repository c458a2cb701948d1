#pragma once

#include "journal/JournalOffcut.h"

#include "ui/shared/JournalRunner.h"
#include "ui/shared/PageMessage.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class DlgOffcutAdd;
class Journal;
class QComboBox;

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// The workshop's page "Остатки": the journal's offcut store with filters by article, colour,
// material and state, the totals of what is shown under the list (per article: pieces and
// metres; per material: pieces and m²), and the rack's commands: add an offcut found there by
// hand, scrap one, move one to another place, save its label again as PDF. A barcode scanner
// types a label's QR text into the search field with Enter, like a keyboard: that offcut is
// selected, the filters opened for it when they hid it.
class OffcutsPage : public QWidget {
    Q_OBJECT
public:
    enum Column { Id, Kind, Name, Size, Place, State, From, ColumnCount };

    OffcutsPage(JournalRunner& session, QWidget* parent = nullptr);

    // Reads the store again with the filters, keeping the selected offcut selected.
    void refresh();
    // The id of the selected row; 0 when none is.
    int64_t selectedId() const;
    // Selects the offcut's row; false when it is not shown.
    bool select(int64_t id);
    const std::vector<JournalOffcut>& shown() const { return shown_; }

    QLineEdit* searchEdit() const { return search_; }
    QComboBox* articleFilter() const { return article_; }
    QComboBox* colourFilter() const { return colour_; }
    QComboBox* materialFilter() const { return material_; }
    QComboBox* stateFilter() const { return state_; }
    QTableWidget* table() const { return table_; }
    QLabel* totalsLabel() const { return totals_; }
    QLabel* messageLabel() const { return message_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* scrapButton() const { return scrap_; }
    QLineEdit* placeEdit() const { return place_; }
    QPushButton* moveButton() const { return move_; }
    QPushButton* labelButton() const { return label_; }
    // The add dialog while it is open, else null.
    DlgOffcutAdd* addDialog() const { return addDialog_; }

signals:
    // The store was changed from this page.
    void storeChanged();

private:
    void fillChoices();
    void findTyped();
    void openAddDialog();
    void scrapSelected();
    void moveSelected();
    void saveLabel();
    void updateButtons();
    void say(const QString& text, bool failure);
    // Runs a journal call; a failure is said on the page and the connection dropped.
    bool call(JournalSession::Action action, const std::function<void(Journal&)>& work);
    OffcutFilter filter() const;

    JournalRunner& session_;
    std::vector<JournalOffcut> shown_;
    QLineEdit* search_ = nullptr;
    QComboBox* article_ = nullptr;
    QComboBox* colour_ = nullptr;
    QComboBox* material_ = nullptr;
    QComboBox* state_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* totals_ = nullptr;
    PageMessage* message_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* scrap_ = nullptr;
    QLineEdit* place_ = nullptr;
    QPushButton* move_ = nullptr;
    QPushButton* label_ = nullptr;
    DlgOffcutAdd* addDialog_ = nullptr;
    bool filling_ = false; // the filter choices are being filled: no reading meanwhile
};
