#pragma once

namespace kfg::dialogs {

// The three side dialogs the main dialog owns. Their windows, templates and behaviour are not
// built yet; until then nothing shows them.
class CDisplayModeDlg {};
class CLanguageDlg {};
class CAudioDecoderDlg {};

} // namespace kfg::dialogs
