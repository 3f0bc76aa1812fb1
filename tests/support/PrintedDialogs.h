#pragma once

#include "platform/Dialogs.h"

#include <cstdio>

// The dialogs of a helper process that a test starts: every message is printed as
// "message: caption | text | icon" to the given stream and answered with its default button;
// file, colour and font dialogs are cancelled.
class PrintedDialogs final : public Dialogs
{
public:
    explicit PrintedDialogs(std::FILE *out) : m_out(out) {}

    Answer message(const Message &message, QWidget * = nullptr) override
    {
        std::fprintf(m_out, "message: %s | %s | %d\n", qPrintable(message.caption), qPrintable(message.text),
                     int(message.icon));
        std::fflush(m_out);
        return message.defaultButton;
    }
    std::optional<QString> openFile(const FileRequest &, QWidget * = nullptr) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest &, QWidget * = nullptr) override { return std::nullopt; }
    QColor chooseColour(const QColor &initial, QWidget * = nullptr) override { return initial; }
    FontChoice chooseFont(const FontChoice &initial, int, int, QWidget * = nullptr) override { return initial; }

private:
    std::FILE *m_out;
};
