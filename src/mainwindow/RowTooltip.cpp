// The row balloon over the tip list: the shown tip's key path, type, value
// name, data and command label.
#include "editor/Form3.h"
#include "mainwindow/Form2.h"

void Form2::ShowRowTooltip(int row) {
    ReleaseRowTooltip();
    if (row < 1 || row > ListView1.Count()) return;
    auto tip = std::make_unique<Tooltip>();
    ::Form3& props = Forms::Form3();
    tip->SetTipText(L"键位: " + ListView1.SubTag(row, 1) + L"\r\n类型：" + props.Combo1.Text() + L"\r\n键名: " +
                    ListView1.SubText(row, 3) + L"\r\n键值: " + ListView1.SubText(row, 4) + L"\r\n命令: " +
                    ListView1.SubText(row, 1));
    tip->SetParentControl(&ListView1);
    tip->SetTitle(ListView1.Text(row));
    tip->SetIcon(Tooltip::IconInfo);
    tip->SetStyle(Tooltip::kBalloon);
    tip->Create();
    RowTooltip = std::move(tip);
}

void Form2::ReleaseRowTooltip() {
    if (RowTooltip) RowTooltip->Release();
    RowTooltip.reset();
}
