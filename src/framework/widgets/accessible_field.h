#pragma once

class QLineEdit;

namespace kfg::framework {

// Describes an edit field to assistive technology as Qt does, but with its text as one run
// of attributes, so that a screen reader reads the whole text: with Qt's empty runs it drops
// the last character.
void DescribeField(QLineEdit& edit);

} // namespace kfg::framework
