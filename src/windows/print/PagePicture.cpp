#include "PagePicture.h"

#include "page/PageOutput.h"
#include "platform/AtomicFile.h"
#include "platform/Clock.h"
#include "platform/CommonDialog.h"
#include "platform/Shell.h"
#include "platform/desktop/Capture.h"

#include <QDir>
#include <QImage>
#include <QPointer>
#include <QWidget>

void SavePagePicture(CommonDialog &dialog, Clock &clock, Shell &shell, QWidget *printWindow, QWidget *panel)
{
    const std::optional<QString> path = dialog.saveFile(
        {QStringLiteral("Файлы (*.jpg)|*.jpg|Все файлы(*.*)|*.*|"), QString(), QString(), QStringLiteral("*.jpg")});
    if (!path)
        return;

    // The wait runs the event loop: the windows are looked at again after it.
    const QPointer<QWidget> window(printWindow);
    const QPointer<QWidget> shownPanel(panel);
    if (panel)
        panel->hide();
    clock.waitProcessingEvents(kRepaintWaitMs);
    if (!window)
        return;
    const QImage picture = CaptureClient(window);
    QString error;
    const QByteArray bitmap = PageOutput::bitmapBytes(picture, &error);
    const bool written = !bitmap.isEmpty() && writeFileAtomically(*path, bitmap, &error);
    if (shownPanel)
        shownPanel->show();

    if (!written) {
        dialog.inform(QStringLiteral("Не удалось сохранить изображение в файл ") + QDir::toNativeSeparators(*path)
                          + QStringLiteral("\n") + error,
                      QStringLiteral("Ошибка сохранения"), Dialogs::Icon::Critical);
        return;
    }
    const Dialogs::Answer open = dialog.message({QStringLiteral("Открыть файл?"), QStringLiteral("Файл сохранен."),
                                                 Dialogs::Icon::Question, Dialogs::Buttons::YesNo,
                                                 Dialogs::Answer::Yes});
    if (open != Dialogs::Answer::Yes)
        return;
    shell.showInFolder(*path);
    shell.openDocument(*path);
}
