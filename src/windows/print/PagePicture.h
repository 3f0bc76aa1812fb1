#pragma once

class Clock;
class CommonDialog;
class QWidget;
class Shell;

// SavePagePicture: the composed certificate as the print window shows it, its side panel left
// out, written as a Windows bitmap to a file the operator chooses (the suggested name ends in
// ".jpg", as operators are used to), then opened on request.
//
// The panel is hidden while the window repaints and shown again in every case; a file that
// cannot be written is reported rather than taken for saved.
void SavePagePicture(CommonDialog &dialog, Clock &clock, Shell &shell, QWidget *printWindow, QWidget *panel);

// How long the window is given to repaint without its panel before the capture.
constexpr int kRepaintWaitMs = 864;
