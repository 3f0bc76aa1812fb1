#pragma once

class CertificateLayout;
class CommonDialog;

// The operator's three font commands over the certificate's labels: the print window's
// "Поле" > "Шрифт", and the frame's "Шрифт" and "Вернуть шрифт". Each works on the labels of
// one print window and the run-wide font table; none changes the selection, and none writes
// the font file, which the print window writes when it closes. Every dialog and message goes
// through the dialog component of the window whose command it is.
namespace LabelFontCommands {

// The selected labels take the chosen font; then every label takes its entry of the table and
// is sized to its text again.
void ChangeLabelFont(CertificateLayout &layout, CommonDialog &dialogs);
// The same for the selected labels only, which are the only ones re-sized; a label that could
// not take the chosen face is reported, one box per label.
void FrameChangeLabelFont(CertificateLayout &layout, CommonDialog &dialogs);
// After the operator confirms: the fonts the certificate was designed with, for every label.
void ResetLabelFonts(CertificateLayout &layout, CommonDialog &dialogs);

} // namespace LabelFontCommands
