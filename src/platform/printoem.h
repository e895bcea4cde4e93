// Printer-driver UI plug-in interfaces and records that the mingw-w64
// headers lack: IPrintOemUI2 (implemented by the plug-in), IPrintOemDriverUI
// (published by the driver), and the records passed with their calls.
// Layouts follow the platform's declarations; sizes are pinned below.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <winspool.h>
#include <compstui.h>
#include <winddiui.h>
#include <cstddef>

// --- Constants --------------------------------------------------------------

#define OEMGI_GETSIGNATURE 1
#define OEMGI_GETINTERFACEVERSION 2
#define OEMGI_GETVERSION 3
#define OEMGI_GETPUBLISHERINFO 4
#define OEMGI_GETREQUESTEDHELPERINTERFACES 5

#define OEMPUBLISH_DEFAULT 0
#define OEMPUBLISH_IPRINTCOREHELPER 1

#define OEMDM_SIZE 1
#define OEMDM_DEFAULT 2
#define OEMDM_CONVERT 3
#define OEMDM_MERGE 4

#define OEMCUIP_DOCPROP 1
#define OEMCUIP_PRNPROP 2

#define QCP_DEVICEPROFILE 0
#define QCP_SOURCEPROFILE 1
#define QCP_PROFILEMEMORY 1
#define QCP_PROFILEDISK 2

#define S_DEVCAP_OUTPUT_FULL_REPLACEMENT ((HRESULT)0x0004DC01L)

#define PRINTER_OEMINTF_VERSION 0x00010000

#define OEMGDS_MIN_DOCSTICKY 1
#define OEMGDS_PSDM_FLAGS 1
#define OEMGDS_PSDM_DIALECT 2
#define OEMGDS_PSDM_TTDLFMT 3
#define OEMGDS_PSDM_NUP 4
#define OEMGDS_PSDM_PSLEVEL 5
#define OEMGDS_PSDM_CUSTOMSIZE 6
#define OEMGDS_MIN_PRINTERSTICKY 0x8000
#define OEMGDS_PRINTFLAGS 0x8000
#define OEMGDS_FREEMEM 0x8001
#define OEMGDS_JOBTIMEOUT 0x8002
#define OEMGDS_WAITTIMEOUT 0x8003
#define OEMGDS_PROTOCOL 0x8004
#define OEMGDS_MINOUTLINE 0x8005
#define OEMGDS_MAXBITMAP 0x8006

#ifndef PROPSHEETUI_REASON_BEFORE_INIT
#define PROPSHEETUI_REASON_BEFORE_INIT 5
#endif

// --- Records ----------------------------------------------------------------

typedef struct _OEMUIPROCS {
  PVOID DrvGetDriverSetting;
  PVOID DrvUpdateUISetting;
} OEMUIPROCS, *POEMUIPROCS;

typedef struct _OEMUIOBJ {
  DWORD cbSize;
  POEMUIPROCS pOemUIProcs;
} OEMUIOBJ, *POEMUIOBJ;

typedef struct _OEMDMPARAM {
  DWORD cbSize;
  PVOID pdriverobj;
  HANDLE hPrinter;
  HANDLE hModule;
  PDEVMODEW pPublicDMIn;
  PDEVMODEW pPublicDMOut;
  PVOID pOEMDMIn;
  PVOID pOEMDMOut;
  DWORD cbBufSize;
} OEMDMPARAM, *POEMDMPARAM;

typedef struct _OEM_DMEXTRAHEADER {
  DWORD dwSize;
  DWORD dwSignature;
  DWORD dwVersion;
} OEM_DMEXTRAHEADER, *POEM_DMEXTRAHEADER;

typedef struct _USERDATA {
  DWORD dwSize;
  ULONG_PTR dwItemID;
  PSTR pKeyWordName;
  DWORD dwReserved[8];
} USERDATA, *PUSERDATA;

struct _OEMCUIPPARAM;
typedef LONG(APIENTRY* OEMCUIPCALLBACK)(PCPSUICBPARAM, struct _OEMCUIPPARAM*);

typedef struct _OEMCUIPPARAM {
  DWORD cbSize;
  POEMUIOBJ poemuiobj;
  HANDLE hPrinter;
  PWSTR pPrinterName;
  HANDLE hModule;
  HANDLE hOEMHeap;
  PDEVMODEW pPublicDM;
  PVOID pOEMDM;
  DWORD dwFlags;
  POPTITEM pDrvOptItems;
  DWORD cDrvOptItems;
  POPTITEM pOEMOptItems;
  DWORD cOEMOptItems;
  PVOID pOEMUserData;
  OEMCUIPCALLBACK OEMCUIPCallback;
} OEMCUIPPARAM, *POEMCUIPPARAM;

typedef struct _OEMUIPSPARAM {
  DWORD cbSize;
  POEMUIOBJ poemuiobj;
  HANDLE hPrinter;
  PWSTR pPrinterName;
  HANDLE hModule;
  HANDLE hOEMHeap;
  PDEVMODEW pPublicDM;
  PVOID pOEMDM;
  PVOID pOEMUserData;
  DWORD dwFlags;
  PVOID pOemEntry;
} OEMUIPSPARAM, *POEMUIPSPARAM;

typedef struct _DEVQUERYPRINT_INFO* PDEVQUERYPRINT_INFO;

// The platform declares the property-sheet UI entry with WINAPI; mingw's
// PFNPROPSHEETUI has no calling convention (cdecl on x86).
typedef LONG(WINAPI* PFNPROPSHEETUI_WINAPI)(PPROPSHEETUI_INFO, LPARAM);

// --- Interfaces -------------------------------------------------------------

struct IPrintOemCommon : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                            PDWORD pcbNeeded) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) = 0;
};

struct IPrintOemUI : public IPrintOemCommon {
  virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* pIUnknown) = 0;
  virtual HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                           LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                         LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevQueryPrintEx(POEMUIOBJ poemuiobj,
                                                    PDEVQUERYPRINT_INFO pDQPInfo,
                                                    PDEVMODEW pPublicDM, PVOID pOEMDM) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeviceCapabilities(POEMUIOBJ poemuiobj, HANDLE hPrinter,
                                                       PWSTR pDeviceName, WORD wCapability,
                                                       PVOID pOutput, PDEVMODEW pPublicDM,
                                                       PVOID pOEMDM, DWORD dwOld,
                                                       DWORD* dwResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR pPrinterName, INT iDriverEvent,
                                                 DWORD dwFlags, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DriverEvent(DWORD dwDriverEvent, DWORD dwLevel,
                                                LPBYTE pDriverInfo, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj,
                                                      PDEVMODEW pPublicDM, PVOID pOEMDM,
                                                      ULONG ulQueryMode, VOID* pvProfileData,
                                                      ULONG* pcbProfileData,
                                                      FLONG* pflProfileData) = 0;
  virtual HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam,
                                                         LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap,
                                                        PWSTR pwstrCartridges) = 0;
};

struct IPrintOemUI2 : public IPrintOemUI {
  virtual HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevmode,
                                                       DWORD dwLevel, LPBYTE lpAttributeInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD dwMode) = 0;
  virtual HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn,
                                                  PVOID pvIn, ULONG cbOut, PVOID pvOut,
                                                  PINT piResult) = 0;
};

struct IPrintOemDriverUI : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE DrvGetDriverSetting(PVOID pci, PCSTR Feature, PVOID pOutput,
                                                        DWORD cbSize, PDWORD pcbNeeded,
                                                        PDWORD pdwOptionsReturned) = 0;
  virtual HRESULT STDMETHODCALLTYPE DrvUpgradeRegistrySetting(HANDLE hPrinter, PCSTR pFeature,
                                                              PCSTR pOption) = 0;
  virtual HRESULT STDMETHODCALLTYPE DrvUpdateUISetting(PVOID pci, PVOID pOptItem,
                                                       DWORD dwPreviousSelection, DWORD dwMode) = 0;
};

// --- Identifiers ------------------------------------------------------------

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
constexpr GUID CLSID_OEMUI = {
    0xABCE80D7, 0x9F46, 0x11D1, {0x88, 0x2A, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};
// {292515F9-B54B-489B-9275-BAB56821395E}
constexpr GUID IID_IPrintOemUI2 = {
    0x292515F9, 0xB54B, 0x489B, {0x92, 0x75, 0xBA, 0xB5, 0x68, 0x21, 0x39, 0x5E}};
// {C6A7A9D0-774C-11D1-947F-00A0C90640B8}
constexpr GUID IID_IPrintOemUI = {
    0xC6A7A9D0, 0x774C, 0x11D1, {0x94, 0x7F, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
// {7F42285E-91D5-11D1-8820-00C04FB961EC}
constexpr GUID IID_IPrintOemCommon = {
    0x7F42285E, 0x91D5, 0x11D1, {0x88, 0x20, 0x00, 0xC0, 0x4F, 0xB9, 0x61, 0xEC}};
// {92B05D50-78BC-11D1-9480-00A0C90640B8}
constexpr GUID IID_IPrintOemDriverUI = {
    0x92B05D50, 0x78BC, 0x11D1, {0x94, 0x80, 0x00, 0xA0, 0xC9, 0x06, 0x40, 0xB8}};
// {085CCFCA-3ADF-4C9E-B491-D851A6EDC997}
constexpr GUID IID_IPrintCoreUI2 = {
    0x085CCFCA, 0x3ADF, 0x4C9E, {0xB4, 0x91, 0xD8, 0x51, 0xA6, 0xED, 0xC9, 0x97}};

__CRT_UUID_DECL(IPrintOemUI2, 0x292515F9, 0xB54B, 0x489B, 0x92, 0x75, 0xBA, 0xB5, 0x68, 0x21, 0x39,
                0x5E)
__CRT_UUID_DECL(IPrintOemDriverUI, 0x92B05D50, 0x78BC, 0x11D1, 0x94, 0x80, 0x00, 0xA0, 0xC9, 0x06,
                0x40, 0xB8)

// --- Layout checks ----------------------------------------------------------

#define VORNIK_BY_ARCH(x64, x86) (sizeof(void*) == 8 ? (x64) : (x86))
static_assert(sizeof(OEMUIOBJ) == VORNIK_BY_ARCH(16, 8), "OEMUIOBJ size");
static_assert(sizeof(OEMDMPARAM) == VORNIK_BY_ARCH(72, 36), "OEMDMPARAM size");
static_assert(sizeof(OEM_DMEXTRAHEADER) == 12, "OEM_DMEXTRAHEADER size");
static_assert(sizeof(USERDATA) == VORNIK_BY_ARCH(56, 44), "USERDATA size");
static_assert(offsetof(USERDATA, pKeyWordName) == VORNIK_BY_ARCH(16, 8), "USERDATA.pKeyWordName");
static_assert(sizeof(OEMCUIPPARAM) == VORNIK_BY_ARCH(120, 60), "OEMCUIPPARAM size");
static_assert(offsetof(OEMCUIPPARAM, pOEMOptItems) == VORNIK_BY_ARCH(88, 44), "pOEMOptItems");
static_assert(offsetof(OEMCUIPPARAM, OEMCUIPCallback) == VORNIK_BY_ARCH(112, 56),
              "OEMCUIPCallback");
static_assert(sizeof(OEMUIPSPARAM) == VORNIK_BY_ARCH(88, 44), "OEMUIPSPARAM size");
static_assert(sizeof(OPTITEM) == VORNIK_BY_ARCH(88, 52), "OPTITEM size");
static_assert(offsetof(OPTITEM, UserData) == 8, "OPTITEM.UserData");
static_assert(offsetof(OPTITEM, DMPubID) == VORNIK_BY_ARCH(52, 32), "OPTITEM.DMPubID");
static_assert(sizeof(OPTTYPE) == VORNIK_BY_ARCH(48, 32), "OPTTYPE size");
static_assert(sizeof(OPTPARAM) == VORNIK_BY_ARCH(48, 24), "OPTPARAM size");
static_assert(sizeof(CPSUICBPARAM) == VORNIK_BY_ARCH(64, 32), "CPSUICBPARAM size");
static_assert(sizeof(PROPSHEETUI_INFO) == VORNIK_BY_ARCH(48, 28), "PROPSHEETUI_INFO size");
static_assert(offsetof(PROPSHEETUI_INFO, lParamInit) == VORNIK_BY_ARCH(24, 16), "lParamInit");
static_assert(sizeof(PROPSHEETUI_INFO_HEADER) == VORNIK_BY_ARCH(40, 20), "PROPSHEETUI_INFO_HEADER");
static_assert(sizeof(SETRESULT_INFO) == VORNIK_BY_ARCH(24, 12), "SETRESULT_INFO size");
static_assert(sizeof(DRIVER_INFO_3W) == VORNIK_BY_ARCH(80, 40), "DRIVER_INFO_3W size");
static_assert(sizeof(DEVMODEW) == 220, "DEVMODEW size");
