#include "pages/job_settings_page.h"

#include <prsht.h>

#include "core/plugin_context.h"
#include "resources/resource_ids.h"
#include "uitree/string_loader.h"

namespace vornik {
namespace {

constexpr WPARAM kBackspace = 0x08;
constexpr WPARAM kSpace = 0x20;         // lowest character a user name takes
constexpr WPARAM kFirstVisible = 0x21;  // lowest character a password takes
constexpr WPARAM kLastPrintable = 0x7E;

// The EDIT class's own procedure, taken from the user-name edit when a page
// opens; the character filters pass everything they accept on to it.
WNDPROC editProcedure = nullptr;

struct ControlText {
  int controlId;
  UINT stringId;
};

// Texts set when the page opens, in this order.
constexpr ControlText kControlTexts[] = {
    {IDC_JOB_RESERVE, IDS_JOB_RESERVE_CHECKBOX}, {IDC_JOB_USER_NAME_LABEL, IDS_JOB_USER_NAME_LABEL},
    {IDC_JOB_DESCRIPTION, IDS_JOB_DESCRIPTION},  {IDC_JOB_PASSWORD_LABEL, IDS_JOB_PASSWORD_LABEL},
    {IDC_JOB_FRAME, IDS_JOB_SETTINGS_FRAME},
};

struct EditSetup {
  int controlId;
  int limit;
  WNDPROC filter;
};

constexpr EditSetup kEdits[] = {
    {IDC_JOB_USER_NAME, kUserNameLimit, UserNameCharFilter},
    {IDC_JOB_JOB_NAME, kUserNameLimit, UserNameCharFilter},
    {IDC_JOB_PASSWORD, kPasswordLimit, PasswordCharFilter},
};

// Controls that follow the reserve-job box.
constexpr int kJobFields[] = {IDC_JOB_USER_NAME, IDC_JOB_JOB_NAME, IDC_JOB_PASSWORD,
                              IDC_JOB_USER_NAME_LABEL, IDC_JOB_PASSWORD_LABEL};

PluginContext* ContextOf(HWND dialog) {
  return reinterpret_cast<PluginContext*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

PrivateDevmode* DevmodeOf(const PluginContext& context) {
  return static_cast<PrivateDevmode*>(context.cuipParam->pOEMDM);
}

void NotifySheet(HWND dialog, UINT message) {
  SendMessageW(GetParent(dialog), message, reinterpret_cast<WPARAM>(dialog), 0);
}

// A text field of the record as a terminated string. The record may come
// from anywhere, so a field without its terminator ends at the field's end.
template <size_t N>
struct FieldText {
  explicit FieldText(const WCHAR (&field)[N]) {
    size_t length = 0;
    for (; length < N && field[length]; ++length) text[length] = field[length];
    text[length] = L'\0';
  }
  WCHAR text[N + 1];
};

// Reads an edit's text into `buffer` (kReadBackUnits units). A control that
// the dialog lacks leaves the buffer as it was.
void ReadEditText(HWND dialog, int controlId, WCHAR* buffer) {
  SendDlgItemMessageW(dialog, controlId, WM_GETTEXT, kReadBackUnits,
                      reinterpret_cast<LPARAM>(buffer));
}

void SetTexts(HWND dialog, const OEMCUIPPARAM& param) {
  const auto module = static_cast<HMODULE>(param.hModule);
  for (const ControlText& entry : kControlTexts) {
    const HeapString text(module, param.hOEMHeap, entry.stringId);
    SetDlgItemTextW(dialog, entry.controlId, text.text());
  }
}

void InstallFilters(HWND dialog) {
  for (const EditSetup& edit : kEdits) {
    SendDlgItemMessageW(dialog, edit.controlId, EM_LIMITTEXT, edit.limit, 0);
    if (HWND control = GetDlgItem(dialog, edit.controlId)) {
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit.filter));
    }
  }
}

void ShowDevmode(HWND dialog, const PrivateDevmode& devmode) {
  CheckDlgButton(dialog, IDC_JOB_RESERVE,
                 devmode.reserveMode == kReserveModeOn ? BST_CHECKED : BST_UNCHECKED);
  SetDlgItemTextW(dialog, IDC_JOB_USER_NAME, FieldText(devmode.userName).text);
  SetDlgItemTextW(dialog, IDC_JOB_JOB_NAME, FieldText(devmode.jobName).text);
  SetDlgItemTextW(dialog, IDC_JOB_PASSWORD, FieldText(devmode.password).text);
}

BOOL OnInitDialog(HWND dialog, const PROPSHEETPAGEW* page) {
  auto* context = reinterpret_cast<PluginContext*>(page ? page->lParam : 0);
  SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(context));
  if (HWND userName = GetDlgItem(dialog, IDC_JOB_USER_NAME)) {
    const auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(userName, GWLP_WNDPROC));
    if (procedure != UserNameCharFilter) editProcedure = procedure;
  }
  const OEMCUIPPARAM* param = context ? context->cuipParam : nullptr;
  if (!param || !param->pOEMDM) return FALSE;
  SetTexts(dialog, *param);
  InstallFilters(dialog);
  ShowDevmode(dialog, *static_cast<const PrivateDevmode*>(param->pOEMDM));
  EnableJobFields(dialog);
  return FALSE;
}

BOOL OnCommand(HWND dialog, WPARAM wParam) {
  const int controlId = LOWORD(wParam);
  const WORD code = HIWORD(wParam);
  if (code == BN_CLICKED && controlId == IDC_JOB_RESERVE) {
    NotifySheet(dialog, PSM_CHANGED);
    EnableJobFields(dialog);
  } else if (code == EN_CHANGE &&
             (controlId == IDC_JOB_USER_NAME || controlId == IDC_JOB_JOB_NAME ||
              controlId == IDC_JOB_PASSWORD)) {
    NotifySheet(dialog, PSM_CHANGED);
  }
  return FALSE;
}

// Every text goes through the bounded writer, so nothing lands past a field.
void SaveDevmode(HWND dialog, PrivateDevmode& devmode) {
  devmode.reserveMode =
      IsDlgButtonChecked(dialog, IDC_JOB_RESERVE) == BST_CHECKED ? kReserveModeOn : kReserveModeOff;
  WCHAR text[kReadBackUnits] = {};
  ReadEditText(dialog, IDC_JOB_USER_NAME, text);
  WriteDevmodeText(devmode.userName, text);
  ReadEditText(dialog, IDC_JOB_JOB_NAME, text);  // the dialog has none: the user name again
  WriteDevmodeText(devmode.jobName, text);
  WCHAR password[kReadBackUnits] = {};
  ReadEditText(dialog, IDC_JOB_PASSWORD, password);
  WriteDevmodeText(devmode.password, password);
}

BOOL OnLeaveOrApply(HWND dialog, const PluginContext& context) {
  if (context.pfnComPropSheet) {
    context.pfnComPropSheet(context.hComPropSheet, CPSFUNC_SET_RESULT,
                            reinterpret_cast<LPARAM>(context.jobSettingsPage), CPSUI_OK);
  }
  NotifySheet(dialog, PSM_UNCHANGED);
  SetWindowLongPtrW(dialog, DWLP_MSGRESULT, PSNRET_NOERROR);
  if (PrivateDevmode* devmode = DevmodeOf(context)) SaveDevmode(dialog, *devmode);
  NotifySheet(dialog, PSM_UNCHANGED);
  return TRUE;
}

BOOL OnNotify(HWND dialog, const NMHDR* header, const PluginContext& context) {
  if (!header) return TRUE;
  switch (header->code) {
    case PSN_RESET:
      return FALSE;
    case PSN_KILLACTIVE:
    case PSN_APPLY:
      return OnLeaveOrApply(dialog, context);
    default:
      return TRUE;
  }
}

LRESULT PassToEdit(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!editProcedure) return DefWindowProcW(edit, message, wParam, lParam);
  return CallWindowProcW(editProcedure, edit, message, wParam, lParam);
}

LRESULT FilterCharacters(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                         WPARAM firstAccepted) {
  const bool refused = message == WM_CHAR && wParam != kBackspace &&
                       (wParam < firstAccepted || wParam > kLastPrintable);
  return refused ? 0 : PassToEdit(edit, message, wParam, lParam);
}

}  // namespace

void EnableJobFields(HWND dialog) {
  const BOOL enable = IsDlgButtonChecked(dialog, IDC_JOB_RESERVE) == BST_CHECKED;
  for (int controlId : kJobFields) EnableWindow(GetDlgItem(dialog, controlId), enable);
}

LRESULT CALLBACK UserNameCharFilter(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  return FilterCharacters(edit, message, wParam, lParam, kSpace);
}

LRESULT CALLBACK PasswordCharFilter(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  return FilterCharacters(edit, message, wParam, lParam, kFirstVisible);
}

INT_PTR CALLBACK JobSettingsDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    return OnInitDialog(dialog, reinterpret_cast<const PROPSHEETPAGEW*>(lParam));
  }
  const PluginContext* context = ContextOf(dialog);
  if (!context || !context->cuipParam) return FALSE;
  switch (message) {
    case WM_COMMAND:
      return OnCommand(dialog, wParam);
    case WM_NOTIFY:
      return OnNotify(dialog, reinterpret_cast<const NMHDR*>(lParam), *context);
    default:
      return FALSE;
  }
}

}  // namespace vornik
