#pragma once

#include "ZCustomFloatEdit.h"

// The numeric entry field the window uses.
class TZFloatEdit final : public TZCustomFloatEdit {
    Q_OBJECT

public:
    explicit TZFloatEdit(QWidget* parent = nullptr) : TZCustomFloatEdit(parent) {}
};
