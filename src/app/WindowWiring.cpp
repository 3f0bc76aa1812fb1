#include "WindowWiring.h"

#include "windows/editor/frm.h"
#include "windows/journal/Form1.h"
#include "windows/print/MDIForm1.h"

void serveEditorsOf(Form1 &journalWindow, Platform &platform, LayoutState &state)
{
    QObject::connect(&journalWindow, &Form1::editorOpened, &journalWindow, [&platform, &state](frm *editor) {
        QObject::connect(editor, &frm::previewRequested, editor, [&platform, &state, editor] {
            editor->setCertificate(MDIForm1::open(platform, state, *editor, editor));
        });
    });
}
