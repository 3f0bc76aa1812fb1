#pragma once

#include "platform/Dialogs.h"

#include <QPointer>

class QWidget;

// The common dialogs and message boxes of the desktop, parented to the window that asks.
class QtDialogs final : public Dialogs
{
public:
    explicit QtDialogs(QWidget *parent = nullptr);
    void setParentWidget(QWidget *parent);

    Answer message(const Message &message, QWidget *owner = nullptr) override;
    std::optional<QString> openFile(const FileRequest &request, QWidget *owner = nullptr) override;
    std::optional<QString> saveFile(const FileRequest &request, QWidget *owner = nullptr) override;
    QColor chooseColour(const QColor &initial, QWidget *owner = nullptr) override;
    FontChoice chooseFont(const FontChoice &initial, int minSize, int maxSize, QWidget *owner = nullptr) override;
    std::optional<QString> choosePrinter(QPrinter &printer, QWidget *owner = nullptr) override;

private:
    QWidget *parentFor(QWidget *owner) const;

    QPointer<QWidget> m_parent;
};
