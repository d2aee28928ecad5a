#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kfg::framework {

// Up and down arrows beside an edit field. Each step reads the field, adds or subtracts one
// and writes the result back; past either end it wraps round or stops, as configured. The
// arrow keys in the field step too. The field itself never clamps what is typed.
class SpinArrows final : public QWidget {
    Q_OBJECT
public:
    SpinArrows(QLineEdit* buddy, bool wraps, QWidget* parent);

    void SetRange(int low, int high);
    void Step(int delta);
    // The arrows' own names, for screen readers.
    void SetArrowNames(const QString& up, const QString& down);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLineEdit* buddy_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    bool wraps_;
    int low_ = 0;
    int high_ = 100;
    int position_ = 0;
};

} // namespace kfg::framework
