#pragma once
#include "platform/Window.h"

class ProgressBar : public Control {
public:
    bool Create(HWND parent, int id);
    void SetRange(int min, int max);
    int Max() const;
    int Value() const;
    void SetValue(int v);
};
