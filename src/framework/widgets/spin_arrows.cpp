#include "framework/widgets/spin_arrows.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace kfg::framework {

SpinArrows::SpinArrows(QLineEdit* buddy, bool wraps, QWidget* parent)
    : QWidget(parent)
    , buddy_(buddy)
    , wraps_(wraps) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (const bool up : {true, false}) {
        auto* button = new QToolButton(this);
        button->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        connect(button, &QToolButton::clicked, this, [this, up] { Step(up ? 1 : -1); });
        layout->addWidget(button);
        (up ? up_ : down_) = button;
    }
    if (buddy_ != nullptr) {
        buddy_->installEventFilter(this);
    }
}

void SpinArrows::SetRange(int low, int high) {
    low_ = low;
    high_ = high;
}

void SpinArrows::Step(int delta) {
    if (buddy_ == nullptr || !isEnabled()) {
        return;
    }
    bool ok = false;
    const int shown = buddy_->text().trimmed().toInt(&ok);
    long long next = static_cast<long long>(ok ? shown : position_) + delta;
    if (next > high_) {
        next = wraps_ ? low_ : high_;
    } else if (next < low_) {
        next = wraps_ ? high_ : low_;
    }
    position_ = static_cast<int>(next);
    buddy_->setText(QString::number(position_));
}

void SpinArrows::SetArrowNames(const QString& up, const QString& down) {
    up_->setAccessibleName(up);
    down_->setAccessibleName(down);
}

bool SpinArrows::eventFilter(QObject* watched, QEvent* event) {
    if (watched == buddy_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            Step(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kfg::framework
