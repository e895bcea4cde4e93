// Options-tree editing and the item callback, on the driver's items as the
// driver builds them from a small PPD, in both flavours.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "core/flavour.h"
#include "core/plugin_context.h"
#include "ppd/document.h"
#include "support/plugin_dll.h"
#include "tools/drvhost/driver_items.h"
#include "tools/drvhost/driver_ui.h"
#include "uitree/option_item_callback.h"
#include "uitree/option_tree.h"

namespace vornik {
namespace {

constexpr char kPpd[] = R"(*PPD-Adobe: "4.3"
*OpenGroup: InstallableOptions/Options Installed
*OpenUI *CVDuplexOption/Duplex Unit: Boolean
*DefaultCVDuplexOption: False
*CVDuplexOption True/Installed: ""
*CVDuplexOption False/Not Installed: ""
*CloseUI: *CVDuplexOption
*OpenUI *CVTrayUnit/Lower Cassette Unit: PickOne
*DefaultCVTrayUnit: None
*CVTrayUnit None/None: ""
*CVTrayUnit 1Tray/1 Cassette Unit: ""
*CloseUI: *CVTrayUnit
*CloseGroup: InstallableOptions
*OpenUI *InputSlot/Paper Source: PickOne
*DefaultInputSlot: MSI
*InputSlot MSI/MP Tray: ""
*InputSlot LC1/Cassette 1: ""
*InputSlot LC2/Cassette 2: ""
*CloseUI: *InputSlot
*OpenUI *CVToner/Toner Save: Boolean
*DefaultCVToner: False
*CVToner False/Off: ""
*CVToner True/On: ""
*CloseUI: *CVToner
*OpenUI *CVRendering/Color Mode: PickOne
*DefaultCVRendering: CMYK
*CVRendering CMYK/Color: ""
*CVRendering None/Monochrome: ""
*CloseUI: *CVRendering
*UIConstraints: *CVTrayUnit None *InputSlot LC2
*UIConstraints: *CVDuplexOption False *CVToner True
)";

struct MemorySource {
  const char* data;
  size_t size;
  size_t at = 0;
};

int ReadMemory(void* userData) {
  auto* source = static_cast<MemorySource*>(userData);
  return source->at < source->size ? static_cast<unsigned char>(source->data[source->at++]) : -1;
}

PpdDocument* ParsePpd(const char* text) {
  MemorySource source{text, std::strlen(text)};
  return new PpdDocument(ReadMemory, &source);
}

// The plug-in's context with a model, the driver's helper, and the driver's
// document items; the DLL is loaded for its string table.
class OptionTree : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dll.loaded());
    context.ppd = ParsePpd(kPpd);
    context.driverUI = &driver;
    items.BuildDocumentTree(context.ppd);
    param.cbSize = sizeof(param);
    param.hModule = dll.module();
    param.hOEMHeap = GetProcessHeap();
    param.pPublicDM = &publicDevmode;
    param.pDrvOptItems = items.items();
    param.cDrvOptItems = items.count();
  }
  void TearDown() override { delete context.ppd; }

  // Count query (refreshing the installed values from the driver), then the
  // item pass, as the driver calls them.
  void OpenDocumentTree(const Flavour& flavour = kFlavour) {
    param.pOEMOptItems = nullptr;
    ASSERT_EQ(S_OK, EditOptionTree(OEMCUIP_DOCPROP, &param, context, flavour));
    OPTITEM none = {};
    param.pOEMOptItems = &none;
    ASSERT_EQ(S_OK, EditOptionTree(OEMCUIP_DOCPROP, &param, context, flavour));
    param.pOEMOptItems = nullptr;
  }

  bool Marked(const char* keyword, LONG option) {
    OPTITEM* item = items.FindKeyword(keyword);
    return item && (item->pOptType->pOptParam[option].Flags & OPTPF_OVERLAY_WARNING_ICON);
  }

  test::PluginDll dll;
  host::DriverUiHelper driver;
  host::DriverItems items;
  PluginContext context = {};
  OEMCUIPPARAM param = {};
  DEVMODEW publicDevmode = {};
};

TEST_F(OptionTree, CountQueryAddsNoItemsAndAsksOnlyForInstalledOptionsInDocumentMode) {
  param.cOEMOptItems = 99;
  ASSERT_EQ(S_OK, EditOptionTree(OEMCUIP_PRNPROP, &param, context));
  EXPECT_EQ(0u, param.cOEMOptItems);
  EXPECT_TRUE(driver.CallLog().empty()) << "printer mode asks the driver nothing";
  ASSERT_EQ(S_OK, EditOptionTree(OEMCUIP_DOCPROP, &param, context));
  const std::vector<std::string> expected = {"DrvGetDriverSetting CVDuplexOption",
                                             "DrvGetDriverSetting CVTrayUnit"};
  EXPECT_EQ(expected, driver.CallLog());
}

TEST_F(OptionTree, HiddenLayoutKindsFollowFlavourAndSystem) {
  struct Case {
    const Flavour* flavour;
    DWORD legacy;
    std::vector<DWORD> hidden;
  } const cases[] = {
      {&kLaterFlavour,
       0,
       {DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP, DMPUB_PAGEORDER, DMPUB_NUP_DIRECTION,
        DMPUB_BOOKLET_EDGE}},
      {&kEarlierFlavour, 0, {DMPUB_ORIENTATION, DMPUB_DUPLEX, DMPUB_NUP, DMPUB_PAGEORDER}},
      {&kLaterFlavour, 1, {}},
      {&kEarlierFlavour, 1, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.flavour->name << " legacy " << c.legacy);
    items.BuildDocumentTree(context.ppd);
    param.pDrvOptItems = items.items();
    context.legacySystem = c.legacy;
    OpenDocumentTree(*c.flavour);
    std::vector<DWORD> hidden;
    for (DWORD i = 0; i < items.count(); ++i) {
      if (items.items()[i].Flags & OPTIF_HIDE) hidden.push_back(items.items()[i].DMPubID);
    }
    EXPECT_EQ(c.hidden, hidden);
  }
}

TEST_F(OptionTree, WarningMarksFollowTheInstalledHardware) {
  // Nothing installed: cassette 2 of the paper source and toner save "On"
  // are ruled out.
  driver.SetSetting("CVDuplexOption", "False");
  driver.SetSetting("CVTrayUnit", "None");
  OpenDocumentTree();
  OPTITEM* source = items.FindKind(DMPUB_DEFSOURCE);
  ASSERT_NE(nullptr, source);
  EXPECT_FALSE(source->pOptType->pOptParam[1].Flags & OPTPF_OVERLAY_WARNING_ICON);
  EXPECT_TRUE(source->pOptType->pOptParam[2].Flags & OPTPF_OVERLAY_WARNING_ICON);
  EXPECT_FALSE(Marked("CVToner", 0));
  EXPECT_TRUE(Marked("CVToner", 1));

  // The hardware arrives: a fresh tree shows no marks after the next count
  // query has refreshed the model.
  driver.SetSetting("CVDuplexOption", "True");
  driver.SetSetting("CVTrayUnit", "1Tray");
  items.BuildDocumentTree(context.ppd);
  param.pDrvOptItems = items.items();
  OpenDocumentTree();
  source = items.FindKind(DMPUB_DEFSOURCE);
  EXPECT_FALSE(source->pOptType->pOptParam[2].Flags & OPTPF_OVERLAY_WARNING_ICON);
  EXPECT_FALSE(Marked("CVToner", 1));
}

TEST_F(OptionTree, ItemsWithoutModuleOrModelDoNotQualify) {
  driver.SetSetting("CVTrayUnit", "None");
  param.hModule = nullptr;
  OpenDocumentTree();
  EXPECT_FALSE(items.FindKind(DMPUB_DEFSOURCE)->pOptType->pOptParam[2].Flags &
               OPTPF_OVERLAY_WARNING_ICON);
  EXPECT_EQ(OptionItemCallback, param.OEMCUIPCallback) << "the callback is installed anyway";
  EXPECT_EQ(&context, param.pOEMUserData);
}

TEST_F(OptionTree, ColourModeIsDisabledOnlyWhenColourOffComesFirst) {
  OPTITEM* color = items.FindKind(DMPUB_COLOR);
  OPTITEM* colorMode = items.FindKeyword("CVRendering");
  ASSERT_TRUE(color && colorMode);
  ASSERT_LT(color, colorMode) << "the driver lists the colour item first";
  color->Sel = 0;
  OpenDocumentTree();
  EXPECT_TRUE(colorMode->Flags & OPTIF_DISABLED);

  colorMode->Flags = 0;
  color->Sel = 1;
  OpenDocumentTree();
  EXPECT_FALSE(colorMode->Flags & OPTIF_DISABLED);

  // The colour item after the colour-mode item: the rule does not see it.
  std::swap(*color, *colorMode);
  OPTITEM* movedColor = items.FindKind(DMPUB_COLOR);
  OPTITEM* movedMode = items.FindKeyword("CVRendering");
  movedColor->Sel = 0;
  movedMode->Flags = 0;
  OpenDocumentTree();
  EXPECT_FALSE(movedMode->Flags & OPTIF_DISABLED);
}

TEST_F(OptionTree, CallbackKeepsColourModeInStep) {
  OpenDocumentTree();
  OPTITEM* color = items.FindKind(DMPUB_COLOR);
  OPTITEM* colorMode = items.FindKeyword("CVRendering");
  CPSUICBPARAM cb = {};
  cb.cbSize = sizeof(cb);
  cb.Reason = CPSUICB_REASON_SEL_CHANGED;
  cb.pCurItem = color;
  color->Sel = 0;
  driver.ClearLog();
  EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, param.OEMCUIPCallback(&cb, &param));
  EXPECT_TRUE(colorMode->Flags & OPTIF_DISABLED);
  EXPECT_EQ(0, colorMode->Sel);
  ASSERT_EQ(1u, driver.CallLog().size());
  EXPECT_EQ(0u, driver.CallLog()[0].find("DrvUpdateUISetting Color Mode sel=0"));

  color->Sel = 1;
  EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, param.OEMCUIPCallback(&cb, &param));
  EXPECT_FALSE(colorMode->Flags & OPTIF_DISABLED);
  EXPECT_EQ(1, colorMode->Sel);

  cb.pCurItem = items.FindKind(DMPUB_DEFSOURCE);
  const DWORD flags = colorMode->Flags;
  EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, param.OEMCUIPCallback(&cb, &param));
  EXPECT_EQ(flags, colorMode->Flags) << "other items change nothing";

  context.driverUI = nullptr;
  cb.pCurItem = color;
  EXPECT_EQ(CPSUICB_ACTION_OPTIF_CHANGED, param.OEMCUIPCallback(&cb, &param))
      << "no driver interface: no call, no crash";
}

TEST_F(OptionTree, ApplyHandsChangedLayoutChoicesToTheDriver) {
  struct Case {
    const Flavour* flavour;
    std::vector<std::string> calls;
  } const cases[] = {
      {&kLaterFlavour,
       {"DrvUpdateUISetting #64745 sel=2 prev=2 mode=1",
        "DrvUpdateUISetting #64878 sel=1 prev=1 mode=1",
        "DrvUpdateUISetting #64888 sel=1 prev=1 mode=1"}},
      {&kEarlierFlavour, {"DrvUpdateUISetting #64745 sel=2 prev=2 mode=1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flavour->name);
    items.BuildDocumentTree(context.ppd);
    param.pDrvOptItems = items.items();
    OpenDocumentTree(*c.flavour);
    OPTITEM* duplex = items.FindKind(DMPUB_DUPLEX);
    duplex->Sel = 2;
    duplex->Flags |= OPTIF_CHANGEONCE;
    for (DWORD kind : {DMPUB_NUP_DIRECTION, DMPUB_BOOKLET_EDGE}) {
      items.FindKind(kind)->Sel = 1;
      items.FindKind(kind)->Flags |= OPTIF_CHANGEONCE;
    }
    items.FindKind(DMPUB_ORIENTATION)->Sel = 1;  // not marked as changed
    OPTITEM* order = items.FindKind(DMPUB_PAGEORDER);
    order->Sel = 5;  // out of range
    order->Flags |= OPTIF_CHANGEONCE;
    OPTITEM* nup = items.FindKind(DMPUB_NUP);
    nup->Sel = 1;
    nup->Flags |= OPTIF_CHANGEONCE;
    nup->pOptType->pOptParam[1].Flags |= OPTPF_OVERLAY_WARNING_ICON;  // conflicting choice
    publicDevmode.dmDuplex = 0;
    driver.ClearLog();
    CPSUICBPARAM cb = {};
    cb.Reason = CPSUICB_REASON_APPLYNOW;
    EXPECT_EQ(CPSUICB_ACTION_ITEMS_APPLIED, HandleOptionItemCallback(&cb, &param, *c.flavour));
    EXPECT_EQ(c.calls, driver.CallLog());
    EXPECT_EQ(DMDUP_VERTICAL, publicDevmode.dmDuplex);
  }
}

TEST(OptionTreeDuplex, SelectionGivesTheDevmodeDuplexValue) {
  for (auto [sel, duplex] :
       {std::pair<LONG, short>{0, DMDUP_SIMPLEX}, {1, DMDUP_HORIZONTAL}, {2, DMDUP_VERTICAL}}) {
    OPTPARAM options[3] = {};
    OPTTYPE type = {};
    type.Count = 3;
    type.pOptParam = options;
    OPTITEM item = {};
    item.DMPubID = DMPUB_DUPLEX;
    item.pOptType = &type;
    item.Sel = sel;
    item.Flags = OPTIF_CHANGEONCE;
    host::DriverUiHelper driver;
    PluginContext context = {};
    context.driverUI = &driver;
    DEVMODEW devmode = {};
    OEMCUIPPARAM param = {};
    param.pDrvOptItems = &item;
    param.cDrvOptItems = 1;
    param.pOEMUserData = &context;
    param.pPublicDM = &devmode;
    CPSUICBPARAM cb = {};
    cb.Reason = CPSUICB_REASON_APPLYNOW;
    EXPECT_EQ(CPSUICB_ACTION_ITEMS_APPLIED, HandleOptionItemCallback(&cb, &param, kLaterFlavour));
    EXPECT_EQ(duplex, devmode.dmDuplex) << "sel " << sel;
  }
}

// Device settings: the group named 64798 is hidden with its followers up to
// the next item of its level; the item named 400 is shown first.
TEST(PrinterTree, HidesTheGroupRunAndMarksTheInitialItem) {
  struct Case {
    std::vector<std::pair<BYTE, ULONG_PTR>> items;  // level, name id (0: text)
    std::vector<bool> hidden;
    std::vector<bool> initial;
  } const cases[] = {
      {{{1, 64798}, {2, 0}, {3, 0}, {2, 0}, {1, 0}}, {1, 1, 1, 1, 0}, {0, 0, 0, 0, 0}},
      {{{2, 64798}, {3, 0}, {1, 0}}, {1, 1, 1}, {0, 0, 0}},
      {{{1, 400}, {1, 64798}, {2, 400}, {1, 0}}, {0, 1, 1, 0}, {1, 0, 1, 0}},
      {{{1, 64798}, {2, 0}, {1, 64798}, {2, 0}, {1, 0}}, {1, 1, 1, 1, 0}, {0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    std::vector<OPTITEM> items(c.items.size());
    std::vector<OPTPARAM> options(c.items.size() * 2);
    std::vector<OPTTYPE> types(c.items.size());
    for (size_t i = 0; i < items.size(); ++i) {
      items[i].Level = c.items[i].first;
      items[i].pName = c.items[i].second ? reinterpret_cast<LPWSTR>(c.items[i].second)
                                         : const_cast<LPWSTR>(L"text item");
      types[i].Count = 2;
      types[i].pOptParam = &options[2 * i];
      items[i].pOptType = &types[i];
    }
    OEMCUIPPARAM param = {};
    param.pDrvOptItems = items.data();
    param.cDrvOptItems = static_cast<DWORD>(items.size());
    OPTITEM none = {};
    param.pOEMOptItems = &none;
    PluginContext context = {};
    ASSERT_EQ(S_OK, EditOptionTree(OEMCUIP_PRNPROP, &param, context));
    EXPECT_EQ(nullptr, param.OEMCUIPCallback) << "no callback in printer mode";
    for (size_t i = 0; i < items.size(); ++i) {
      SCOPED_TRACE(::testing::Message() << "item " << i);
      EXPECT_EQ(c.hidden[i], bool(items[i].Flags & OPTIF_HIDE));
      EXPECT_EQ(c.initial[i], bool(items[i].Flags & OPTIF_INITIAL_TVITEM));
      const bool groupItself = c.items[i].second == 64798;
      const bool optionsHidden = options[2 * i].Flags & OPTPF_HIDE;
      EXPECT_EQ(c.hidden[i] && !groupItself, optionsHidden);
    }
  }
}

}  // namespace
}  // namespace vornik
