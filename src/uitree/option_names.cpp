#include "uitree/option_names.h"

namespace vornik {
namespace {

const OptionName kInputSlotOptions[] = {
    {20005, L"MSI"}, {20006, L"LC1"}, {20007, L"LC2"}, {20008, L"LC3"}, {20009, L"LC4"}, {0, L""},
};

const OptionName kResolutionOptions[] = {
    {20010, L"1200dpi"},
    {20011, L"600dpi"},
    {20012, L"300dpi"},
    {0, L""},
};

const OptionName kMediaTypeOptions[] = {
    {20013, L"Unspecified"},
    {20014, L"Plain"},
    {20015, L"Plain_Back"},
    {20016, L"Transparency"},
    {20144, L"Thin"},
    {20017, L"Thick"},
    {20018, L"Thick_Narrow"},
    {20019, L"Thick_Back"},
    {20020, L"Thick_Narrow_Back"},
    {20021, L"Extra_Thick"},
    {20022, L"Extra_Thick_Back"},
    {20023, L"Coated"},
    {20024, L"Coated_Back"},
    {20025, L"Preprinted"},
    {20026, L"Preprinted_Back"},
    {20027, L"Semi_Thick"},
    {20028, L"Semi_Thick_Back"},
    {20029, L"Super_Thick"},
    {20030, L"Super_Thick_Back"},
    {20031, L"Labels"},
    {20032, L"Letterhead"},
    {20033, L"Letterhead_Back"},
    {20034, L"Recycled"},
    {20037, L"Recycled_Back"},
    {20035, L"Recycled2"},
    {20038, L"Recycled2_Back"},
    {20036, L"Recycled3"},
    {20039, L"Recycled3_Back"},
    {20040, L"Color"},
    {20041, L"Color_Back"},
    {20042, L"Postcard"},
    {20043, L"Postcard_Back"},
    {20044, L"Envelope"},
    {20045, L"Special"},
    {0, L""},
};

const OptionName kPageSizeOptions[] = {
    {20050, L"A3W"},
    {20051, L"A3F"},
    {20052, L"SRA3"},
    {20130, L"A3"},
    {20131, L"A4"},
    {20132, L"A5.Transverse"},
    {20133, L"A6"},
    {20053, L"Letter"},
    {20054, L"Legal"},
    {20055, L"Postcard"},
    {20056, L"B4"},
    {20057, L"B5.Transverse"},
    {20134, L"B6"},
    {20135, L"IB5"},
    {20058, L"Tabloid"},
    {20059, L"FanFoldGermanLegal"},
    {20060, L"GLT"},
    {20061, L"Statement"},
    {20062, L"Executive"},
    {20063, L"EnvMonarch"},
    {20064, L"Env10"},
    {20065, L"EnvDL"},
    {20066, L"EnvC5"},
    {20067, L"EnvC6"},
    {20068, L"EnvChou3Rotated"},
    {20069, L"EnvYou4"},
    {20070, L"EnvYou6"},
    {20071, L"EnvChou3"},
    {20072, L"EnvKaku2"},
    {20073, L"DoublePostcard"},
    {20074, L"4Postcard"},
    {20075, L"Chouzyaku"},
    {20076, L"Chouzyaku1"},
    {20077, L"Chouzyaku2"},
    {20136, L"Folio"},
    {0, L""},
};

const OptionName kDuplexOptions[] = {
    {20127, L"None"},
    {20128, L"DuplexTumble"},
    {20129, L"DuplexNoTumble"},
    {0, L""},
};

const OptionName kCVTrayUnitOptions[] = {
    {20046, L"None"},  {20047, L"1Tray"}, {20048, L"2Tray"}, {20049, L"3Tray"},
    {20004, L"False"}, {20003, L"True"},  {0, L""},
};

// Shared by the duplex unit, the stacker unit and the CompactFlash card.
const OptionName kInstalledOptions[] = {
    {20004, L"False"},
    {20003, L"True"},
    {0, L""},
};

const OptionName kCVScreensOptions[] = {
    {20078, L"0"}, {20079, L"1"}, {20080, L"2"}, {20081, L"3"}, {20082, L"10"}, {0, L""},
};

const OptionName kCVPureBlackOptions[] = {
    {20002, L"PBoff"},
    {20001, L"PBall"},
    {0, L""},
};

// Shared by the on/off features.
const OptionName kOffOnOptions[] = {
    {20002, L"False"},
    {20001, L"True"},
    {0, L""},
};

const OptionName kCVRenderingOptions[] = {
    {20083, L"None"},
    {20084, L"CMYK"},
    {0, L""},
};

const OptionName kCVPressSimulationOptions[] = {
    {20085, L"0"}, {20086, L"6"},  {20087, L"7"},  {20088, L"8"},
    {20089, L"9"}, {20090, L"10"}, {20091, L"11"}, {0, L""},
};

const OptionName kCVCMYKMethodOptions[] = {
    {20092, L"1"},  {20093, L"2"},   {20094, L"3"}, {20095, L"0"},
    {20001, L"On"}, {20002, L"Off"}, {0, L""},
};

const OptionName kCVRGBSourceOptions[] = {
    {20137, L"0"}, {20096, L"1"}, {20097, L"5"}, {20098, L"6"},
    {20099, L"7"}, {20100, L"8"}, {20101, L"9"}, {0, L""},
};

const OptionName kCVRGBIntentOptions[] = {
    {20102, L"0"}, {20103, L"1"}, {20104, L"3"}, {20105, L"2"}, {20106, L"7"}, {0, L""},
};

const OptionName kCVSeparationsOptions[] = {
    {20107, L"None"},    {20108, L"DeviceCMYK"}, {20109, L"DeviceCMY"}, {20110, L"Cyan"},
    {20111, L"Magenta"}, {20112, L"Yellow"},     {20113, L"Black"},     {0, L""},
};

const OptionName kOutputBinOptions[] = {
    {20114, L"None"},
    {20115, L"FaceUp"},
    {20116, L"Stacker"},
    {0, L""},
};

const OptionName kCVDensityOptions[] = {
    {20117, L"DLightest"}, {20118, L"DLight"},   {20119, L"DMedium"},
    {20120, L"DDark"},     {20121, L"DDarkest"}, {0, L""},
};

const OptionName kCVRotate90DegreesOptions[] = {
    {20122, L"Off"},
    {20123, L"Rotate90"},
    {20124, L"Rotate0"},
    {0, L""},
};

const OptionName kCVStartSideOptions[] = {
    {20125, L"False"},
    {20126, L"True"},
    {0, L""},
};

const OptionName kCVOUTPUTIDOptions[] = {
    {20138, L"0"}, {20139, L"1"}, {20140, L"2"}, {20141, L"3"},
    {20142, L"4"}, {20143, L"5"}, {0, L""},
};

}  // namespace

const OptionNameList OptionNameIndex[28] = {
    {1, kInputSlotOptions},     {2, kResolutionOptions},
    {3, kMediaTypeOptions},     {4, kPageSizeOptions},
    {5, kDuplexOptions},        {33, kCVTrayUnitOptions},
    {34, kInstalledOptions},    {35, kInstalledOptions},
    {36, kInstalledOptions},    {64, kCVScreensOptions},
    {65, kCVPureBlackOptions},  {66, kOffOnOptions},
    {67, kOffOnOptions},        {68, kOffOnOptions},
    {69, kCVRenderingOptions},  {70, kCVPressSimulationOptions},
    {71, kCVCMYKMethodOptions}, {72, kCVRGBSourceOptions},
    {73, kCVRGBIntentOptions},  {74, kCVSeparationsOptions},
    {75, kOutputBinOptions},    {76, kCVDensityOptions},
    {77, kOffOnOptions},        {78, kCVRotate90DegreesOptions},
    {79, kCVStartSideOptions},  {80, kOffOnOptions},
    {81, kCVOUTPUTIDOptions},   {0, nullptr},
};

const OptionName* OptionNamesForNameId(int32_t nameId) {
  for (const OptionNameList* entry = OptionNameIndex; entry->nameId != 0; ++entry) {
    if (entry->nameId == nameId) return entry->options;
  }
  return nullptr;
}

}  // namespace vornik
