#include "ui/ListWindow.h"

#include <commctrl.h>

#include <string>
#include <vector>

#include "engine/Md5.h"
#include "system/ErrorText.h"
#include "system/ScopedHandle.h"
#include "system/WidePath.h"
#include "jobs/JobRunner.h"
#include "jobs/CreateListJob.h"
#include "jobs/VerifyJob.h"
#include "ui/AnchorLayout.h"
#include "ui/DpiScale.h"
#include "ui/MainWindow.h"
#include "ui/ResourceModule.h"
#include "res/resource.h"

HWND ListWindow;

namespace {

constexpr UINT_PTR kRefreshTimer = 1;
// Pixels at 96 DPI.
constexpr int kMinimumWidth = 360;
constexpr int kMinimumHeight = 200;
constexpr int kResultColumnWidth = 130;
constexpr DWORD kGripStyle =
    WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP | SBS_SIZEBOXBOTTOMRIGHTALIGN;

constexpr const wchar_t* kCaptionSuffix = L" - Calverin";
constexpr const wchar_t* kColumnNames[] = {L"Name", L"Result", L"Checksum"};
constexpr const char* kRunningFormat = "Verifying %d of %d...";
constexpr const char* kEndedFormat = "%d OK, %d FAILED, %d could not be read";
constexpr const char* kBadLinesFormat = ", %d lines not understood";
constexpr const char* kStoppedFormat = "Stopped: %d of %d checked";
constexpr const char* kListingRunningFormat = "Listing %d of %d...";
constexpr const char* kListedFormat = "%d files listed";
constexpr const char* kListedUnreadableFormat = ", %d could not be read";
constexpr const char* kListingStoppedFormat = "Stopped: %d of %d read, no list written";
constexpr const wchar_t* kResultOk = L"OK";
constexpr const wchar_t* kResultFailed = L"FAILED";
constexpr const wchar_t* kResultMissing = L"Missing";
constexpr const wchar_t* kResultUnreadable = L"Unreadable: ";
constexpr const wchar_t* kResultNotChecked = L"Not checked";
constexpr const wchar_t* kResultAdded = L"Added";

// Kept for the whole run: where the last window closed.
RECT SavedRect;
LayoutEntry Layout[] = {
    {IDC_LIST_VIEW, 0, 0, 0, 0, AnchorStretch, AnchorStretch},
    {IDC_LIST_SUMMARY, 0, 0, 0, 0, AnchorStretch, AnchorMove},
    {IDC_LIST_PROBLEMS, 0, 0, 0, 0, AnchorFixed, AnchorMove},
    {IDC_LIST_COPY, 0, 0, 0, 0, AnchorMove, AnchorMove},
    {IDCANCEL, 0, 0, 0, 0, AnchorMove, AnchorMove},
    {IDC_SIZE_GRIP, 0, 0, 0, 0, AnchorMove, AnchorMove},
};
constexpr int kLayoutRows = sizeof(Layout) / sizeof(Layout[0]);

// The one window's state; the table is shared with the job that fills it.
struct Shown {
    std::shared_ptr<ListTable> table;
    HWND view;
    HWND grip;
    int dpi;
    bool laidOut;
    bool problemsOnly;
    bool ended;  // the job's end has been shown
    size_t seen; // rows already counted into the tallies below
    size_t ok;
    size_t failed;
    size_t unreadable;
    std::vector<size_t> problems; // rows seen that are not OK, in order
    std::wstring text;            // the last cell text handed to the view
};
Shown Current;

size_t Done() {
    return Current.table ? Current.table->done.load() : 0;
}

// The rows the view holds: all, or the problems seen, and after a stop the
// rows never checked.
size_t ItemCount() {
    if (!Current.table)
        return 0;
    if (!Current.problemsOnly)
        return Current.table->rowCount;
    size_t unchecked = Current.ended ? Current.table->rowCount - Current.seen : 0;
    return Current.problems.size() + unchecked;
}

size_t RowOfItem(size_t item) {
    if (!Current.problemsOnly)
        return item;
    if (item < Current.problems.size())
        return Current.problems[item];
    return Current.seen + (item - Current.problems.size());
}

void SystemText(DWORD error, std::wstring* text) {
    std::string own = ErrorText(error);
    while (!own.empty() && (own.back() == '\n' || own.back() == '\r' || own.back() == ' '))
        own.pop_back();
    std::wstring wide;
    WideFromText(own.c_str(), CP_ACP, &wide);
    *text += wide;
}

void ResultText(size_t row, std::wstring* text) {
    if (row >= Current.seen) {
        if (Current.ended)
            *text = kResultNotChecked;
        return;
    }
    const ListRow& result = Current.table->rows[row];
    switch (result.result) {
    case RowResult::Ok:
        *text = kResultOk;
        break;
    case RowResult::Failed:
        *text = kResultFailed;
        break;
    case RowResult::Missing:
        *text = kResultMissing;
        break;
    case RowResult::Unreadable:
        *text = kResultUnreadable;
        SystemText(result.error, text);
        break;
    case RowResult::Added:
        *text = kResultAdded;
        break;
    default:
        break;
    }
}

void ChecksumText(size_t row, std::wstring* text) {
    if (row >= Current.seen || !Current.table->rows[row].hasDigest)
        return;
    static const wchar_t kDigits[] = L"0123456789abcdef";
    for (uint8_t byte : Current.table->rows[row].digest) {
        *text += kDigits[byte >> 4];
        *text += kDigits[byte & 15];
    }
}

void CellText(size_t row, int column, std::wstring* text) {
    text->clear();
    if (column == 0)
        RowName(*Current.table, row, text);
    else if (column == 1)
        ResultText(row, text);
    else
        ChecksumText(row, text);
}

void SetSummary(HWND dialog) {
    const ListTable& table = *Current.table;
    char text[160];
    const bool create = table.mode == ListMode::Create;
    if (!Current.ended) {
        size_t next = Current.seen < table.rowCount ? Current.seen + 1 : table.rowCount;
        wsprintfA(text, create ? kListingRunningFormat : kRunningFormat, (int)next,
                  (int)table.rowCount);
    } else if (create && table.stopped.load()) {
        wsprintfA(text, kListingStoppedFormat, (int)Current.seen, (int)table.rowCount);
    } else if (create) {
        int length = wsprintfA(text, kListedFormat, (int)Current.ok);
        if (Current.unreadable > 0)
            wsprintfA(text + length, kListedUnreadableFormat, (int)Current.unreadable);
    } else if (table.stopped.load()) {
        wsprintfA(text, kStoppedFormat, (int)Current.seen, (int)table.rowCount);
    } else {
        int length = wsprintfA(text, kEndedFormat, (int)Current.ok, (int)Current.failed,
                               (int)Current.unreadable);
        if (table.list.BadLines() > 0)
            wsprintfA(text + length, kBadLinesFormat, (int)table.list.BadLines());
    }
    SetDlgItemTextA(dialog, IDC_LIST_SUMMARY, text);
}

// The status line follows the job while it runs.
void SetStatusProgress() {
    const LONG state = JobState.load();
    if (Current.ended || (state != Verifying && state != Listing))
        return;
    const ListTable& table = *Current.table;
    size_t next = Current.seen < table.rowCount ? Current.seen + 1 : table.rowCount;
    char text[64];
    wsprintfA(text, state == Listing ? kListingFormat : kVerifyingFormat, (int)next,
              (int)table.rowCount);
    SetWindowTextA(StatusButton, text);
}

void SetItemCount() {
    ListView_SetItemCountEx(Current.view, ItemCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    InvalidateRect(Current.view, nullptr, FALSE);
}

// Takes in what the job has published since the last look.
void Refresh(HWND dialog) {
    if (!Current.table)
        return;
    // ended first: rows done before the end are then all seen below.
    const bool ended = Current.table->ended.load();
    const size_t done = Done();
    if (done == Current.seen && ended == Current.ended)
        return;
    for (size_t row = Current.seen; row < done; ++row) {
        switch (Current.table->rows[row].result) {
        case RowResult::Ok:
        case RowResult::Added:
            ++Current.ok;
            continue;
        case RowResult::Failed:
            ++Current.failed;
            break;
        default:
            ++Current.unreadable;
            break;
        }
        Current.problems.push_back(row);
    }
    Current.seen = done;
    Current.ended = ended;
    SetItemCount();
    SetSummary(dialog);
    SetStatusProgress();
    if (ended) {
        KillTimer(dialog, kRefreshTimer);
        SetDlgItemTextA(dialog, IDCANCEL, kListCloseText);
    }
}

// The job stops only while it runs; its end sets the state itself.
void StopJob() {
    if (!Current.table || Current.ended || Current.table->ended.load())
        return;
    LONG running = Current.table->mode == ListMode::Create ? Listing : Verifying;
    JobState.compare_exchange_strong(running, Idle);
}

void CopyReport(HWND dialog) {
    const ListTable& table = *Current.table;
    std::vector<EntryVerdict> verdicts(table.rowCount, EntryVerdict::NotChecked);
    for (size_t row = 0; row < Current.seen; ++row) {
        switch (table.rows[row].result) {
        case RowResult::Ok:
            verdicts[row] = EntryVerdict::Ok;
            break;
        case RowResult::Failed:
            verdicts[row] = EntryVerdict::Failed;
            break;
        default:
            verdicts[row] = EntryVerdict::Unreadable;
            break;
        }
    }
    size_t length = WriteListReport(table.list, verdicts.data(), ListNameAsWide, nullptr, nullptr);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (length + 1) * sizeof(wchar_t));
    wchar_t* text = block ? static_cast<wchar_t*>(GlobalLock(block)) : nullptr;
    if (!text) {
        if (block)
            GlobalFree(block);
        MessageBeep(kSimpleBeep);
        return;
    }
    WriteListReport(table.list, verdicts.data(), ListNameAsWide, nullptr, text);
    GlobalUnlock(block);
    ScopedClipboard clipboard(dialog);
    if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block)) {
        GlobalFree(block);
        MessageBeep(kSimpleBeep);
    }
}

void AddColumns() {
    RECT client;
    GetClientRect(Current.view, &client);
    int checksum = ListView_GetStringWidth(Current.view, "00000000000000000000000000000000") +
                   ScaleForDpi(16, Current.dpi);
    int result = ScaleForDpi(kResultColumnWidth, Current.dpi);
    int scroll = MetricForDpi(SM_CXVSCROLL, Current.dpi);
    int name = client.right - checksum - result - scroll;
    const int widths[] = {name > result ? name : result, result, checksum};
    for (int column = 0; column < 3; ++column) {
        LVCOLUMNW entry = {};
        entry.mask = LVCF_TEXT | LVCF_WIDTH;
        entry.pszText = const_cast<wchar_t*>(kColumnNames[column]);
        entry.cx = widths[column];
        SendMessageW(Current.view, LVM_INSERTCOLUMNW, column, (LPARAM)&entry);
    }
}

void CreateSizeGrip(HWND dialog) {
    RECT client;
    GetClientRect(dialog, &client);
    int width = MetricForDpi(SM_CXVSCROLL, Current.dpi);
    int height = MetricForDpi(SM_CYHSCROLL, Current.dpi);
    Current.grip = CreateWindowExA(0, "ScrollBar", nullptr, kGripStyle, client.right - width,
                                   client.bottom - height, width, height, dialog,
                                   (HMENU)(INT_PTR)IDC_SIZE_GRIP,
                                   (HINSTANCE)GetWindowLongPtrA(dialog, GWLP_HINSTANCE), nullptr);
}

INT_PTR OnInitDialog(HWND dialog) {
    Current.dpi = WindowDpi(dialog);
    Current.view = GetDlgItem(dialog, IDC_LIST_VIEW);
    // The names are wide text: the view asks for them in Unicode.
    SendMessageA(Current.view, LVM_SETUNICODEFORMAT, TRUE, 0);
    ListView_SetExtendedListViewStyle(Current.view, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
    AddColumns();
    CreateSizeGrip(dialog);
    AnchorLayout(dialog, Layout, kLayoutRows, nullptr);
    Current.laidOut = true;
    if (!IsRectEmpty(&SavedRect))
        SetWindowPos(dialog, nullptr, SavedRect.left, SavedRect.top,
                     SavedRect.right - SavedRect.left, SavedRect.bottom - SavedRect.top,
                     SWP_NOZORDER);
    std::wstring caption = Current.table->listName + kCaptionSuffix;
    SetWindowTextW(dialog, caption.c_str());
    SetDlgItemTextA(dialog, IDCANCEL, kListStopText);
    // A new list has no report to compare: the list itself is the result.
    EnableWindow(GetDlgItem(dialog, IDC_LIST_COPY), Current.table->mode == ListMode::Verify);
    SetItemCount();
    SetSummary(dialog);
    SetTimer(dialog, kRefreshTimer, kListRefreshMs, nullptr);
    return TRUE;
}

INT_PTR OnSize(HWND dialog, WPARAM type, LPARAM lParam) {
    if (type == SIZE_MINIMIZED || !Current.laidOut)
        return TRUE;
    SIZE client = {LOWORD(lParam), HIWORD(lParam)};
    AnchorLayout(dialog, Layout, kLayoutRows, &client);
    if (Current.grip)
        ShowWindow(Current.grip, type == SIZE_MAXIMIZED ? SW_HIDE : SW_SHOW);
    return TRUE;
}

INT_PTR OnGetMinMaxInfo(HWND dialog, MINMAXINFO* info) {
    int dpi = Current.dpi != 0 ? Current.dpi : WindowDpi(dialog);
    info->ptMinTrackSize.x = ScaleForDpi(kMinimumWidth, dpi);
    info->ptMinTrackSize.y = ScaleForDpi(kMinimumHeight, dpi);
    return TRUE;
}

INT_PTR OnCommand(HWND dialog, WPARAM wParam) {
    switch (LOWORD(wParam)) {
    case IDCANCEL:
        if (Current.ended)
            DestroyWindow(dialog);
        else
            StopJob();
        return TRUE;
    case IDC_LIST_COPY:
        if (Current.table->mode != ListMode::Verify)
            return TRUE;
        CopyReport(dialog);
        return TRUE;
    case IDC_LIST_PROBLEMS:
        Current.problemsOnly = IsDlgButtonChecked(dialog, IDC_LIST_PROBLEMS) == BST_CHECKED;
        SetItemCount();
        return TRUE;
    default:
        return FALSE;
    }
}

INT_PTR OnNotify(HWND dialog, const NMHDR* header) {
    if (header->idFrom != IDC_LIST_VIEW)
        return FALSE;
    if (header->code == LVN_GETDISPINFOW) {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header))->item;
        if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 ||
            static_cast<size_t>(item.iItem) >= ItemCount() || item.cchTextMax <= 0)
            return TRUE;
        CellText(RowOfItem(static_cast<size_t>(item.iItem)), item.iSubItem, &Current.text);
        lstrcpynW(item.pszText, Current.text.c_str(), item.cchTextMax);
        return TRUE;
    }
    if (header->code == LVN_KEYDOWN) {
        const NMLVKEYDOWN* key = reinterpret_cast<const NMLVKEYDOWN*>(header);
        if (key->wVKey == 'C' && GetKeyState(VK_CONTROL) < 0 &&
            Current.table->mode == ListMode::Verify)
            CopyReport(dialog);
        return TRUE;
    }
    return FALSE;
}

INT_PTR OnClose(HWND dialog) {
    StopJob();
    DestroyWindow(dialog);
    return TRUE;
}

INT_PTR OnDestroy(HWND dialog) {
    KillTimer(dialog, kRefreshTimer);
    if (!IsIconic(dialog) && !IsZoomed(dialog))
        GetWindowRect(dialog, &SavedRect);
    ListWindow = nullptr;
    Current = Shown{};
    return TRUE;
}

INT_PTR CALLBACK ListWindowProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        return OnInitDialog(dialog);
    case WM_NOTIFYFORMAT:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, NFR_UNICODE);
        return TRUE;
    case WM_TIMER:
        Refresh(dialog);
        return TRUE;
    case WM_SIZE:
        return OnSize(dialog, wParam, lParam);
    case WM_GETMINMAXINFO:
        return OnGetMinMaxInfo(dialog, (MINMAXINFO*)lParam);
    case WM_COMMAND:
        return OnCommand(dialog, wParam);
    case WM_NOTIFY:
        return OnNotify(dialog, (const NMHDR*)lParam);
    case WM_CLOSE:
        return OnClose(dialog);
    case WM_DESTROY:
        return OnDestroy(dialog);
    default:
        return FALSE;
    }
}

} // namespace

HWND ShowListWindow(HWND owner, const std::shared_ptr<ListTable>& table) {
    if (ListWindow)
        DestroyWindow(ListWindow);
    Current = Shown{};
    Current.table = table;
    // The program's own template, whatever a resource module holds: the
    // window's controls are driven by id and text.
    ListWindow = CreateDialogParamA(ResourceModule.own, MAKEINTRESOURCEA(IDD_LIST), owner,
                                    ListWindowProc, 0);
    if (!ListWindow) {
        Current = Shown{};
        return nullptr;
    }
    ShowWindow(ListWindow, SW_SHOW);
    return ListWindow;
}

bool HandleListWindowMessage(MSG* message) {
    if (!ListWindow || (message->hwnd != ListWindow && !IsChild(ListWindow, message->hwnd)))
        return false;
    if (!IsDialogMessageA(ListWindow, message)) {
        TranslateMessage(message);
        DispatchMessageA(message);
    }
    return true;
}
