// The balloon over the tip list that describes the selected tip, and the
// moments it goes: the pointer leaving the selected row, the list emptied,
// shut-down.
#include "platform/Subclass.h"
#include "common/Config.h"
#include "common/TipRow.h"
#include "mainwindow/Form2.h"
#include "platform/App.h"
#include "platform/Twips.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>

namespace {
constexpr UINT_PTR kWatchId = 0x5254;  // the list's watch while a balloon is up

// The items of the properties window's type list, by TypeCode.
const wchar_t* const kTypeItems[] = {L"字符串值(REG_SZ)", L"二进制值(REG_BINARY)", L"DWORD值(REG_DWORD)",
                                     L"可扩充字符串值(REG_EXPAND_SZ)"};

// The band of the selected row in which the balloon stays, in twips.
constexpr long long kBandTop = 15, kBandBottom = 90;

// While a balloon is up, the list's mouse messages go to the balloon, and the
// pointer moves and the removal of its last row reach the main window here.
// The balloon is relayed rather than hooked into the list by the tooltip
// control: the system's hook would cost a look-up in the window server for
// every message the list gets, about a millisecond per row loaded or applied.
LRESULT CALLBACK WatchList(HWND h, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* form = reinterpret_cast<Form2*>(data);
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && form->RowTooltip) form->RowTooltip->Relay(h, msg, wp, lp);
    switch (msg) {
    case WM_MOUSEMOVE: {
        LRESULT r = Subclass::Def(h, msg, wp, lp);
        form->RowTooltip_MouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
        return r;
    }
    case LVM_DELETEITEM:
    case LVM_DELETEALLITEMS: {
        LRESULT r = Subclass::Def(h, msg, wp, lp);
        if (SendMessageW(h, LVM_GETITEMCOUNT, 0, 0) == 0) form->ReleaseRowTooltip();
        return r;
    }
    case WM_NCDESTROY:
        Subclass::Remove(h, &WatchList, kWatchId);
        break;
    default:
        break;
    }
    return Subclass::Def(h, msg, wp, lp);
}
}  // namespace

std::wstring Form2::RowTooltipText(int row) const {
    const TipRow::Cells c = TipRow::ReadRow(ListView1, row);
    const std::optional<long> type = TipRow::TypeNumber(c.typeCode);
    const std::wstring typeText = type && *type >= 0 && *type <= 3 ? kTypeItems[*type] : L"";
    return L"键位: " + c.keyPath + L"\r\n" +
           L"类型：" + typeText + L"\r\n" +
           L"键名: " + c.valueName + L"\r\n" +
           L"键值: " + c.dataText + L"\r\n" +
           L"命令: " + c.label;
}

void Form2::ShowRowTooltip(int row) {
    if (!Exists() || row < 1 || row > ListView1.Count()) return;
    bool wanted;
    if (Config::IsEmpty(Config::Tip)) {
        // An empty Tip counts as on and is written as 1; a failed write is
        // told once in a run, and the balloon still shows as the setting reads.
        if (!Config::Write(Config::Tip, L"1") && Config::FirstFailure(Config::Tip))
            App::MsgBox(L"无法把“显示提示”的设置写入 config.ini（该文件可能是只读的或正被其它程序使用）。",
                        MB_OK | MB_ICONERROR);
        wanted = true;
    } else {
        wanted = Config::Number(Config::Tip) == 1;
    }
    // A balloon never describes a tip other than the one shown.
    ReleaseRowTooltip();
    if (!wanted) return;

    auto tip = std::make_unique<Tooltip>();
    tip->SetTipText(RowTooltipText(row));
    tip->SetParentControl(&ListView1);
    tip->SetTitle(ListView1.Text(row));
    tip->SetIcon(Tooltip::IconInfo);
    tip->SetStyle(Tooltip::kBalloon);
    tip->SetRelayed(true);
    // A width, so that the lines break at CR LF (and long ones wrap) everywhere.
    tip->SetMaxTipWidth(std::max(320, GetSystemMetrics(SM_CXSCREEN) / 2));
    if (!tip->Create()) return;
    RowTooltip = std::move(tip);
    Subclass::Set(ListView1.hwnd(), &WatchList, kWatchId, reinterpret_cast<DWORD_PTR>(this));
}

void Form2::ReleaseRowTooltip() {
    if (ListView1.hwnd()) Subclass::Remove(ListView1.hwnd(), &WatchList, kWatchId);
    RowTooltip.reset();
}

void Form2::RowTooltip_MouseMove(POINT clientPt) {
    if (!RowTooltip) return;
    const int row = ListView1.SelectedItem();
    if (ListView1.Count() == 0 || row < 1 || !ListView1.Selected(row)) {
        ReleaseRowTooltip();
        return;
    }
    RECT r{};
    r.left = LVIR_BOUNDS;
    if (!SendMessageW(ListView1.hwnd(), LVM_GETITEMRECT, row - 1, reinterpret_cast<LPARAM>(&r))) {
        ReleaseRowTooltip();
        return;
    }
    const long long y = Twips::FromPixelsY(clientPt.y);
    const long long top = Twips::FromPixelsY(r.top);
    const long long height = Twips::FromPixelsY(r.bottom - r.top);
    if (y - kBandTop < top || top + height < y + kBandBottom) ReleaseRowTooltip();
}
