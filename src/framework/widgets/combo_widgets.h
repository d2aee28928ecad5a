#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QWidget>

class QLineEdit;

namespace kfg::framework {

// A combo box that tells when its drop-down list closes.
class DropDownCombo final : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
    void hidePopup() override;

signals:
    void closedUp();

private:
    bool popupShown_ = false; // the list has been shown at least once, so its view exists
};

// An edit field with its list always visible below it: a click in the list, or Up and Down in
// the field, chooses an entry and copies it into the field; a double-click is reported on its
// own.
class SimpleCombo final : public QWidget {
    Q_OBJECT
public:
    SimpleCombo(int editHeight, QWidget* parent);

    QLineEdit* Edit() const { return edit_; }
    QListWidget* List() const { return list_; }
    // Names the box, its field and its list alike.
    void SetAccessibleName(const QString& name);

signals:
    void selectionChosen();
    void textEdited();
    void doubleClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Choose(int row);

    QLineEdit* edit_;
    QListWidget* list_;
};

} // namespace kfg::framework
