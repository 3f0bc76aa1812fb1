#pragma once

#include "certificate/EditorBoxes.h"

#include <QStringList>

#include <array>

// The record editor as the certificate windows see it: 44 texts, the boxes the editor shows,
// and what the windows asked of it.
class FakeEditorBoxes final : public EditorBoxes
{
public:
    std::array<QString, kBoxCount> texts;
    int focused = -1;
    int shown = 0;

    FakeEditorBoxes()
    {
        for (int i = 0; i < kBoxCount; ++i)
            texts[size_t(i)] = QStringLiteral("Поле %1").arg(i);
    }

    QString boxText(int index) const override { return texts.at(size_t(index)); }
    void setBoxText(int index, const QString &text) override { texts.at(size_t(index)) = text; }
    bool isBoxShown(int index) const override { return index != 3 && index < 40; }
    void focusBox(int index) override { focused = index; }
    void showEditor() override { ++shown; }
};
