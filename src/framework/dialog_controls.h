#pragma once

// What a running dialog holds; shared by the files that make up the dialog class.

#include "framework/dialog.h"

#include <QDialog>
#include <QString>
#include <map>
#include <memory>
#include <set>

namespace kfg::framework {

class SpinArrows;

struct Dialog::Controls {
    std::unique_ptr<QDialog> window;
    std::map<int, QWidget*> byId;
    std::map<int, const ControlTemplate*> templates;
    std::map<int, QString> captions; // full captions, before wrapping or eliding
    std::set<int> unfitted;          // captions waiting for their controls to be seen
    std::multimap<int, int> named;   // label (or field) id -> the controls (or spins) it names
    std::map<int, SpinArrows*> spins;
};

} // namespace kfg::framework
