#pragma once

#include <QString>
#include <string>

namespace kfg::framework {

class Dialog;

// One exchange between a dialog's controls and its members. Towards the members every step
// checks its input; the first failure shows its message, puts the focus on the field with its
// text selected, and turns every later step into a no-op.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate);

    bool SaveAndValidate() const { return save_; }
    bool Failed() const { return failed_; }

    // 1 checked, 0 clear. A member outside 0..2 is shown (and then holds) 0; 2 shows checked.
    void Check(int id, int& member);
    // Decimal text with optional blanks and sign; no clamping.
    void Integer(int id, int& member);
    // As Integer, then the member (already set) must lie in [low, high].
    void Integer(int id, int& member, int low, int high);
    // The shown text of a combo box (UTF-8). Towards the control it selects the first entry
    // equal to the member's text, ignoring case; with none, nothing is selected and an
    // editable box shows the member's text.
    void ListText(int id, std::string& member);
    // The 0-based selected position, -1 for none.
    void ListPosition(int id, int& member);

private:
    void Fail(int id, const QString& message);

    Dialog& dialog_;
    bool save_;
    bool failed_ = false;
};

} // namespace kfg::framework
