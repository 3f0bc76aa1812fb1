#pragma once

#include "Dialogs.h"

#include <QPointer>

class QWidget;

// The common dialogs and message boxes of the desktop, parented to the window that asks.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);
    void setParentWidget(QWidget *parent);

    Answer message(const Message &message) override;
    std::optional<QString> openFile(const FileRequest &request) override;
    std::optional<QString> saveFile(const FileRequest &request) override;
    QColor chooseColour(const QColor &initial) override;
    FontChoice chooseFont(const FontChoice &initial, int minSize, int maxSize) override;

private:
    QPointer<QWidget> m_parent;
};
