#pragma once
// The question asked before the image being edited and its measurements are
// given up (going back to the Image page, opening another file).

namespace orv {

class COrvalinDlg;

// Yes: the work may go.
bool ConfirmDiscardingImage(COrvalinDlg &dlg);

}  // namespace orv
