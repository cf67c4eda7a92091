#pragma once

#include <array>

namespace setup {

// Slot numbers of the string catalogue, named after their keys in the language files.
// A text that labels a dialog control has, as a rule, the control's identifier as its slot.
namespace text {
inline constexpr int BUTTON_OK = 0;
inline constexpr int BUTTON_CANCEL = 1;
inline constexpr int BUTTON_RESET = 174;
inline constexpr int BUTTON_ADD = 91;
inline constexpr int BUTTON_EDIT = 82;
inline constexpr int BUTTON_REMOVE = 92;
inline constexpr int BUTTON_CHANGE = 64;
inline constexpr int DLG_MAIN_CAPTION = 2;
inline constexpr int DLG_MAIN_INTRO = 10;
inline constexpr int DLG_MAIN_VERSION = 12;
inline constexpr int DLG_MAIN_LANGUAGE = 11;
inline constexpr int DLG_MAIN_INSTALL = 4;
inline constexpr int DLG_MAIN_CONFIG = 5;
inline constexpr int DLG_MAIN_DEINSTALL = 6;
inline constexpr int DLG_MAIN_ABOUT = 7;
inline constexpr int DLG_MAIN_EXIT = 8;
inline constexpr int DLG_ABOUT_CAPTION = 14;
inline constexpr int DLG_ABOUT_TEXT = 15;
inline constexpr int DLG_ABOUT_DRIVERVERSION = 16;
inline constexpr int DLG_ABOUT_FILEVERSION = 170;
inline constexpr int DLG_VER_CAPTION = 171;
inline constexpr int DLG_VER_VERTEXT = 172;
inline constexpr int DLG_INS_CAPTION = 18;
inline constexpr int DLG_INS_INSTALL = 19;
inline constexpr int DLG_INS_SOURCEPATH = 24;
inline constexpr int DLG_INS_DESTPATH = 25;
inline constexpr int DLG_INS_CSOURCE = 22;
inline constexpr int DLG_INS_CDEST = 23;
inline constexpr int DLG_CHP_CAPTION = 101;
inline constexpr int DLG_CHP_HELP = 106;
inline constexpr int DLG_CHP_CURPATH = 105;
inline constexpr int DLG_CHP_DRIVE = 107;
inline constexpr int DLG_DEI_CAPTION = 26;
inline constexpr int DLG_DEI_WARNING = 28;
inline constexpr int DLG_DEI_OKTXT = 29;
inline constexpr int DLG_DEI_CANCELTXT = 30;
inline constexpr int DLG_DEI_OK = 27;
inline constexpr int DLG_DEI_AREYOUSURE = 31;
inline constexpr int DLG_CFG_CAPTION = 32;
inline constexpr int DLG_CFG_ADAPTER = 41;
inline constexpr int DLG_CFG_ADVANCED = 43;
inline constexpr int DLG_CFG_MAINTENANCE = 44;
inline constexpr int DLG_CFG_G_GENERAL = 34;
inline constexpr int DLG_CFG_G_ADAPTER = 35;
inline constexpr int DLG_CFG_G_ADVANCED = 37;
inline constexpr int DLG_CFG_PROTO = 39;
inline constexpr int DLG_CFG_START = 46;
inline constexpr int DLG_CFG_TEST = 50;
inline constexpr int DLG_CFG_INTERRUPT = 55;
inline constexpr int DLG_CFG_BASEADD = 54;
inline constexpr int DLG_CFG_SPID = 58;
inline constexpr int DLG_CFG_DOSVECTOR = 49;
inline constexpr int DLG_CFG_X31LAYER2 = 66;
inline constexpr int DLG_CFG_DATAIO = 59;
inline constexpr int DLG_CFG_DELIVERYCONF = 63;
inline constexpr int DLG_CFG_POINT2POINT = 61;
inline constexpr int DLG_CFG_G_SECURITY = 38;
inline constexpr int DLG_CFG_ISMAINTENANCE = 67;
inline constexpr int DLG_CFG_CIP = 68;
inline constexpr int DLG_CFG_MNTADP = 70;
inline constexpr int DLG_CFG_USERNAME = 71;
inline constexpr int DLG_CFG_PASSWORD = 73;
inline constexpr int DLG_CFG_CDPN = 75;
inline constexpr int DLG_CFG_CDPS = 77;
inline constexpr int DLG_CFG_CG = 79;
inline constexpr int DLG_CFG_CGCOM = 81;
inline constexpr int DLG_CPN_CAPTION_ADD = 84;
inline constexpr int DLG_CPN_CAPTION_EDIT = 83;
inline constexpr int DLG_CPN_CGPN = 85;
inline constexpr int DLG_CPN_CGPS = 87;
inline constexpr int DLG_CHG_CAPTION = 89;
inline constexpr int DLG_CHG_INSADPS = 90;
inline constexpr int DLG_CCI_CAPTION = 94;
inline constexpr int DLG_CCI_INFOTXT = 95;
inline constexpr int DLG_CCI_APPLYNEW = 96;
inline constexpr int DLG_CCI_RESTOREOLD = 97;
inline constexpr int DLG_CCI_CANCELTXT = 98;
inline constexpr int DLG_CCI_APPLY = 99;
inline constexpr int DLG_CCI_RESTORE = 100;
inline constexpr int MSG_CAPTION = 108;
inline constexpr int DLG_YNO_YES = 111;
inline constexpr int DLG_YNO_NO = 112;
inline constexpr int DLG_YNO_ALL = 113;
inline constexpr int DLG_ARI_RETRY = 114;
inline constexpr int DLG_ARI_IGNORE = 115;
inline constexpr int ERR_INVALID_OS = 200;
inline constexpr int ERR_NORIGHTS = 201;
inline constexpr int ERR_WRITEPROTECTED = 202;
inline constexpr int ERR_NOWRITEACCESS = 203;
inline constexpr int ERR_INS_NOSUCCESS = 204;
inline constexpr int ERR_FILENOTFOUND = 205;
inline constexpr int ERR_CANTWRITE = 206;
inline constexpr int ERR_DEI_FILENOTFOUND = 207;
inline constexpr int ERR_DEI_CANTDELETE = 208;
inline constexpr int ERR_DEI_KEYNOTFOUND = 211;
inline constexpr int ERR_DEI_NOREMOVEKEY = 210;
inline constexpr int ERR_DEI_NOSUCCESS = 209;
inline constexpr int ERR_CFG_NOKEY = 213;
inline constexpr int ERR_CFG_NOKEYMODIFY = 214;
inline constexpr int ERR_CFG_NOVALMODIFY = 216;
inline constexpr int ERR_CFG_NOVALQUERY = 215;
inline constexpr int ERR_CFG_NOAUTOEXEC = 212;
inline constexpr int ERR_INS_FULLPATH = 217;  // the program's own, in kOwnCatalogueKeys
inline constexpr int INFO_SCANVERSION = 310;
inline constexpr int INFO_CREATEPATH = 301;
inline constexpr int INFO_COPYFILE = 302;
inline constexpr int INFO_EXPANDFILE = 303;
inline constexpr int INFO_SETUPSYSENTRIES = 304;
inline constexpr int INFO_OTHERMANU = 305;
inline constexpr int INFO_INS_DONE = 306;
inline constexpr int INFO_DELETEFILE = 307;
inline constexpr int INFO_REMOVESYSENTRIES = 308;
inline constexpr int INFO_DEI_DONE = 309;
inline constexpr int QUEST_OVERWRITENEW = 401;
inline constexpr int QUEST_APPLYOLD = 402;
inline constexpr int QUEST_RESTARTSYSTEM = 410;
inline constexpr int QUEST_CCI_APPLYNEW = 403;
inline constexpr int QUEST_CCI_RESTOREOLD = 404;
inline constexpr int QUEST_CFG_RESET = 406;
inline constexpr int QUEST_CFG_ABORT = 407;
inline constexpr int QUEST_INFO_ABORT = 405;
inline constexpr int TYPE_START_BOOT = 501;
inline constexpr int TYPE_START_SYSTEM = 502;
inline constexpr int TYPE_START_AUTO = 503;
inline constexpr int TYPE_START_DEMAND = 504;
inline constexpr int TYPE_START_DISABLED = 505;
inline constexpr int TYPE_LAYER_DIRECT = 506;
inline constexpr int TYPE_LAYER_VIRTUAL = 507;
inline constexpr int TYPE_LAYER_ACTIVE = 508;
inline constexpr int TYPE_DATAIO_DIRECT = 512;
inline constexpr int TYPE_DATAIO_BUFFERED = 513;
inline constexpr int TYPE_DLC_AUTO = 509;
inline constexpr int TYPE_DLC_ON = 510;
inline constexpr int TYPE_DLC_OFF = 511;
inline constexpr int TYPE_TEST_ADAPTER = 514;
inline constexpr int TYPE_TEST_ADAPTER_S0 = 515;
inline constexpr int TEXT_ADAPTER = 601;
inline constexpr int TEXT_ADAPTER_ALL = 602;
inline constexpr int TEXT_UNKNOWN_PROTO = 603;
inline constexpr int TEXT_NOCAPIINSTALLED = 604;
inline constexpr int TEXT_UNKNOWNVERSION = 605;
}  // namespace text

struct CatalogueKey {
  const char* key;  // the key line as it stands in a language file
  int slot;
};

inline constexpr int kCatalogueSlotCount = 606;
inline constexpr int kCatalogueKeyCount = 140;

// The keys in the order a language file must hold them.
inline constexpr std::array<CatalogueKey, kCatalogueKeyCount> kCatalogueKeys = {{
    {"[BUTTON_OK]", text::BUTTON_OK},
    {"[BUTTON_CANCEL]", text::BUTTON_CANCEL},
    {"[BUTTON_RESET]", text::BUTTON_RESET},
    {"[BUTTON_ADD]", text::BUTTON_ADD},
    {"[BUTTON_EDIT]", text::BUTTON_EDIT},
    {"[BUTTON_REMOVE]", text::BUTTON_REMOVE},
    {"[BUTTON_CHANGE]", text::BUTTON_CHANGE},
    {"[DLG_MAIN_CAPTION]", text::DLG_MAIN_CAPTION},
    {"[DLG_MAIN_INTRO]", text::DLG_MAIN_INTRO},
    {"[DLG_MAIN_VERSION]", text::DLG_MAIN_VERSION},
    {"[DLG_MAIN_LANGUAGE]", text::DLG_MAIN_LANGUAGE},
    {"[DLG_MAIN_INSTALL]", text::DLG_MAIN_INSTALL},
    {"[DLG_MAIN_CONFIG]", text::DLG_MAIN_CONFIG},
    {"[DLG_MAIN_DEINSTALL]", text::DLG_MAIN_DEINSTALL},
    {"[DLG_MAIN_ABOUT]", text::DLG_MAIN_ABOUT},
    {"[DLG_MAIN_EXIT]", text::DLG_MAIN_EXIT},
    {"[DLG_ABOUT_CAPTION]", text::DLG_ABOUT_CAPTION},
    {"[DLG_ABOUT_TEXT]", text::DLG_ABOUT_TEXT},
    {"[DLG_ABOUT_DRIVERVERSION]", text::DLG_ABOUT_DRIVERVERSION},
    {"[DLG_ABOUT_FILEVERSION]", text::DLG_ABOUT_FILEVERSION},
    {"[DLG_VER_CAPTION]", text::DLG_VER_CAPTION},
    {"[DLG_VER_VERTEXT]", text::DLG_VER_VERTEXT},
    {"[DLG_INS_CAPTION]", text::DLG_INS_CAPTION},
    {"[DLG_INS_INSTALL]", text::DLG_INS_INSTALL},
    {"[DLG_INS_SOURCEPATH]", text::DLG_INS_SOURCEPATH},
    {"[DLG_INS_DESTPATH]", text::DLG_INS_DESTPATH},
    {"[DLG_INS_CSOURCE]", text::DLG_INS_CSOURCE},
    {"[DLG_INS_CDEST]", text::DLG_INS_CDEST},
    {"[DLG_CHP_CAPTION]", text::DLG_CHP_CAPTION},
    {"[DLG_CHP_HELP]", text::DLG_CHP_HELP},
    {"[DLG_CHP_CURPATH]", text::DLG_CHP_CURPATH},
    {"[DLG_CHP_DRIVE]", text::DLG_CHP_DRIVE},
    {"[DLG_DEI_CAPTION]", text::DLG_DEI_CAPTION},
    {"[DLG_DEI_WARNING]", text::DLG_DEI_WARNING},
    {"[DLG_DEI_OKTXT]", text::DLG_DEI_OKTXT},
    {"[DLG_DEI_CANCELTXT]", text::DLG_DEI_CANCELTXT},
    {"[DLG_DEI_OK]", text::DLG_DEI_OK},
    {"[DLG_DEI_AREYOUSURE]", text::DLG_DEI_AREYOUSURE},
    {"[DLG_CFG_CAPTION]", text::DLG_CFG_CAPTION},
    {"[DLG_CFG_ADAPTER]", text::DLG_CFG_ADAPTER},
    {"[DLG_CFG_ADVANCED]", text::DLG_CFG_ADVANCED},
    {"[DLG_CFG_MAINTENANCE]", text::DLG_CFG_MAINTENANCE},
    {"[DLG_CFG_G_GENERAL]", text::DLG_CFG_G_GENERAL},
    {"[DLG_CFG_G_ADAPTER]", text::DLG_CFG_G_ADAPTER},
    {"[DLG_CFG_G_ADVANCED]", text::DLG_CFG_G_ADVANCED},
    {"[DLG_CFG_PROTO]", text::DLG_CFG_PROTO},
    {"[DLG_CFG_START]", text::DLG_CFG_START},
    {"[DLG_CFG_TEST]", text::DLG_CFG_TEST},
    {"[DLG_CFG_INTERRUPT]", text::DLG_CFG_INTERRUPT},
    {"[DLG_CFG_BASEADD]", text::DLG_CFG_BASEADD},
    {"[DLG_CFG_SPID]", text::DLG_CFG_SPID},
    {"[DLG_CFG_DOSVECTOR]", text::DLG_CFG_DOSVECTOR},
    {"[DLG_CFG_X31LAYER2]", text::DLG_CFG_X31LAYER2},
    {"[DLG_CFG_DATAIO]", text::DLG_CFG_DATAIO},
    {"[DLG_CFG_DELIVERYCONF]", text::DLG_CFG_DELIVERYCONF},
    {"[DLG_CFG_POINT2POINT]", text::DLG_CFG_POINT2POINT},
    {"[DLG_CFG_G_SECURITY]", text::DLG_CFG_G_SECURITY},
    {"[DLG_CFG_ISMAINTENANCE]", text::DLG_CFG_ISMAINTENANCE},
    {"[DLG_CFG_CIP]", text::DLG_CFG_CIP},
    {"[DLG_CFG_MNTADP]", text::DLG_CFG_MNTADP},
    {"[DLG_CFG_USERNAME]", text::DLG_CFG_USERNAME},
    {"[DLG_CFG_PASSWORD]", text::DLG_CFG_PASSWORD},
    {"[DLG_CFG_CDPN]", text::DLG_CFG_CDPN},
    {"[DLG_CFG_CDPS]", text::DLG_CFG_CDPS},
    {"[DLG_CFG_CG]", text::DLG_CFG_CG},
    {"[DLG_CFG_CGCOM]", text::DLG_CFG_CGCOM},
    {"[DLG_CPN_CAPTION_ADD]", text::DLG_CPN_CAPTION_ADD},
    {"[DLG_CPN_CAPTION_EDIT]", text::DLG_CPN_CAPTION_EDIT},
    {"[DLG_CPN_CGPN]", text::DLG_CPN_CGPN},
    {"[DLG_CPN_CGPS]", text::DLG_CPN_CGPS},
    {"[DLG_CHG_CAPTION]", text::DLG_CHG_CAPTION},
    {"[DLG_CHG_INSADPS]", text::DLG_CHG_INSADPS},
    {"[DLG_CCI_CAPTION]", text::DLG_CCI_CAPTION},
    {"[DLG_CCI_INFOTXT]", text::DLG_CCI_INFOTXT},
    {"[DLG_CCI_APPLYNEW]", text::DLG_CCI_APPLYNEW},
    {"[DLG_CCI_RESTOREOLD]", text::DLG_CCI_RESTOREOLD},
    {"[DLG_CCI_CANCELTXT]", text::DLG_CCI_CANCELTXT},
    {"[DLG_CCI_APPLY]", text::DLG_CCI_APPLY},
    {"[DLG_CCI_RESTORE]", text::DLG_CCI_RESTORE},
    {"[MSG_CAPTION]", text::MSG_CAPTION},
    {"[DLG_YNO_YES]", text::DLG_YNO_YES},
    {"[DLG_YNO_NO]", text::DLG_YNO_NO},
    {"[DLG_YNO_ALL]", text::DLG_YNO_ALL},
    {"[DLG_ARI_RETRY]", text::DLG_ARI_RETRY},
    {"[DLG_ARI_IGNORE]", text::DLG_ARI_IGNORE},
    {"[ERR_INVALID_OS]", text::ERR_INVALID_OS},
    {"[ERR_NORIGHTS]", text::ERR_NORIGHTS},
    {"[ERR_WRITEPROTECTED]", text::ERR_WRITEPROTECTED},
    {"[ERR_NOWRITEACCESS]", text::ERR_NOWRITEACCESS},
    {"[ERR_INS_NOSUCCESS]", text::ERR_INS_NOSUCCESS},
    {"[ERR_FILENOTFOUND]", text::ERR_FILENOTFOUND},
    {"[ERR_CANTWRITE]", text::ERR_CANTWRITE},
    {"[ERR_DEI_FILENOTFOUND]", text::ERR_DEI_FILENOTFOUND},
    {"[ERR_DEI_CANTDELETE]", text::ERR_DEI_CANTDELETE},
    {"[ERR_DEI_KEYNOTFOUND]", text::ERR_DEI_KEYNOTFOUND},
    {"[ERR_DEI_NOREMOVEKEY]", text::ERR_DEI_NOREMOVEKEY},
    {"[ERR_DEI_NOSUCCESS]", text::ERR_DEI_NOSUCCESS},
    {"[ERR_CFG_NOKEY]", text::ERR_CFG_NOKEY},
    {"[ERR_CFG_NOKEYMODIFY]", text::ERR_CFG_NOKEYMODIFY},
    {"[ERR_CFG_NOVALMODIFY]", text::ERR_CFG_NOVALMODIFY},
    {"[ERR_CFG_NOVALQUERY]", text::ERR_CFG_NOVALQUERY},
    {"[ERR_CFG_NOAUTOEXEC]", text::ERR_CFG_NOAUTOEXEC},
    {"[INFO_SCANVERSION]", text::INFO_SCANVERSION},
    {"[INFO_CREATEPATH]", text::INFO_CREATEPATH},
    {"[INFO_COPYFILE]", text::INFO_COPYFILE},
    {"[INFO_EXPANDFILE]", text::INFO_EXPANDFILE},
    {"[INFO_SETUPSYSENTRIES]", text::INFO_SETUPSYSENTRIES},
    {"[INFO_OTHERMANU]", text::INFO_OTHERMANU},
    {"[INFO_INS_DONE]", text::INFO_INS_DONE},
    {"[INFO_DELETEFILE]", text::INFO_DELETEFILE},
    {"[INFO_REMOVESYSENTRIES]", text::INFO_REMOVESYSENTRIES},
    {"[INFO_DEI_DONE]", text::INFO_DEI_DONE},
    {"[QUEST_OVERWRITENEW]", text::QUEST_OVERWRITENEW},
    {"[QUEST_APPLYOLD]", text::QUEST_APPLYOLD},
    {"[QUEST_RESTARTSYSTEM]", text::QUEST_RESTARTSYSTEM},
    {"[QUEST_CCI_APPLYNEW]", text::QUEST_CCI_APPLYNEW},
    {"[QUEST_CCI_RESTOREOLD]", text::QUEST_CCI_RESTOREOLD},
    {"[QUEST_CFG_RESET]", text::QUEST_CFG_RESET},
    {"[QUEST_CFG_ABORT]", text::QUEST_CFG_ABORT},
    {"[QUEST_INFO_ABORT]", text::QUEST_INFO_ABORT},
    {"[TYPE_START_BOOT]", text::TYPE_START_BOOT},
    {"[TYPE_START_SYSTEM]", text::TYPE_START_SYSTEM},
    {"[TYPE_START_AUTO]", text::TYPE_START_AUTO},
    {"[TYPE_START_DEMAND]", text::TYPE_START_DEMAND},
    {"[TYPE_START_DISABLED]", text::TYPE_START_DISABLED},
    {"[TYPE_LAYER_DIRECT]", text::TYPE_LAYER_DIRECT},
    {"[TYPE_LAYER_VIRTUAL]", text::TYPE_LAYER_VIRTUAL},
    {"[TYPE_LAYER_ACTIVE]", text::TYPE_LAYER_ACTIVE},
    {"[TYPE_DATAIO_DIRECT]", text::TYPE_DATAIO_DIRECT},
    {"[TYPE_DATAIO_BUFFERED]", text::TYPE_DATAIO_BUFFERED},
    {"[TYPE_DLC_AUTO]", text::TYPE_DLC_AUTO},
    {"[TYPE_DLC_ON]", text::TYPE_DLC_ON},
    {"[TYPE_DLC_OFF]", text::TYPE_DLC_OFF},
    {"[TYPE_TEST_ADAPTER]", text::TYPE_TEST_ADAPTER},
    {"[TYPE_TEST_ADAPTER+S0]", text::TYPE_TEST_ADAPTER_S0},
    {"[TEXT_ADAPTER]", text::TEXT_ADAPTER},
    {"[TEXT_ADAPTER_ALL]", text::TEXT_ADAPTER_ALL},
    {"[TEXT_UNKNOWN_PROTO]", text::TEXT_UNKNOWN_PROTO},
    {"[TEXT_NOCAPIINSTALLED]", text::TEXT_NOCAPIINSTALLED},
    {"[TEXT_UNKNOWNVERSION]", text::TEXT_UNKNOWNVERSION},
}};

// Texts the program adds to the published keys: in a language file they follow the last of
// those, in this order. A file written to the published list lacks them and must still load
// without a message; the English text here then stands.
struct OwnCatalogueKey {
  CatalogueKey key;
  const char* english;
};
inline constexpr std::array<OwnCatalogueKey, 1> kOwnCatalogueKeys = {{
    {{"[ERR_INS_FULLPATH]", text::ERR_INS_FULLPATH},
     "Please enter both directories as full paths: beginning with a drive letter (C:\\...) or "
     "naming a network share (\\\\server\\share\\...)."},
}};

}  // namespace setup
