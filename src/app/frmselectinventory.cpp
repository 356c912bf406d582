#include "frmselectinventory.h"

namespace {
constexpr QRgb kDarkGreen = 0x004000;
constexpr QRgb kBlue = 0x0000FF;
constexpr QRgb kGreen = 0x008000;
constexpr bool kHidden = false;
using K = ControlKind;
} // namespace

const std::array<ControlEntry, 67> kfrmSelectControls{{
    // From side
    {"Label19", K::Label, "Select Drive to XCopy From", 120, 240, 2175, 255, true, kDarkGreen},
    {"Drive1", K::DriveList, "", 120, 480, 2295, 315},
    {"Label21", K::Label, "Select Folder to XCopy From", 120, 840, 2175, 255, true, kDarkGreen},
    {"Dir1", K::FolderList, "", 120, 1080, 2295, 2340},
    {"Label17", K::Label, "Contents Of From Folder", 240, 3480, 2295, 255, true, kBlue},
    {"File1", K::FileList, "", 120, 3720, 2295, 2184},

    // The pair grid
    {"Label23", K::Label, "Check Box when From and To destinations are complete", 4320, 0, 2175,
     495},
    {"Label1", K::Label, "From", 2640, 480, 615, 255},
    {"Text1", K::TextBox, "", 3240, 480, 3255, 285},
    {"Check1", K::CheckBox, "", 6600, 600, 375, 375},
    {"Label2", K::Label, "To", 2640, 840, 615, 255},
    {"Text2", K::TextBox, "", 3240, 840, 3255, 285},
    {"Label3", K::Label, "From", 2640, 1320, 615, 255},
    {"Text3", K::TextBox, "", 3240, 1320, 3255, 285},
    {"Check2", K::CheckBox, "", 6600, 1440, 375, 375},
    {"Label4", K::Label, "To", 2640, 1680, 615, 255},
    {"Text4", K::TextBox, "", 3240, 1680, 3255, 285},
    {"Label5", K::Label, "From", 2640, 2160, 615, 255},
    {"Text5", K::TextBox, "", 3240, 2160, 3255, 285},
    {"Check3", K::CheckBox, "", 6600, 2280, 375, 375},
    {"Label6", K::Label, "To", 2640, 2520, 615, 255},
    {"Text6", K::TextBox, "", 3240, 2520, 3255, 285},
    {"Label7", K::Label, "From", 2640, 3000, 615, 255},
    {"Text7", K::TextBox, "", 3240, 3000, 3255, 285},
    {"Check4", K::CheckBox, "", 6600, 3120, 375, 375},
    {"Label8", K::Label, "To", 2640, 3360, 615, 255},
    {"Text8", K::TextBox, "", 3240, 3360, 3255, 285},
    {"Label9", K::Label, "From", 2640, 3840, 615, 255},
    {"Text9", K::TextBox, "", 3240, 3840, 3255, 285},
    {"Check5", K::CheckBox, "", 6600, 3960, 375, 375},
    {"Label13", K::Label, "To", 2640, 4200, 615, 255},
    {"Text10", K::TextBox, "", 3240, 4200, 3255, 285},
    {"Label10", K::Label, "From", 2640, 4680, 615, 255},
    {"Text11", K::TextBox, "", 3240, 4680, 3255, 285},
    {"Check6", K::CheckBox, "", 6600, 4800, 375, 375},
    {"Label14", K::Label, "To", 2640, 5040, 615, 255},
    {"Text12", K::TextBox, "", 3240, 5040, 3255, 285},
    {"Label11", K::Label, "From", 2640, 5520, 615, 255},
    {"Text13", K::TextBox, "", 3240, 5520, 3255, 285},
    {"Check7", K::CheckBox, "", 6600, 5640, 375, 375},
    {"Label15", K::Label, "To", 2640, 5880, 615, 255},
    {"Text14", K::TextBox, "", 3240, 5880, 3255, 285},

    // To side
    {"Label20", K::Label, "Select Drive To XCopy To", 7080, 240, 2175, 255, true, kDarkGreen},
    {"Drive2", K::DriveList, "", 7080, 480, 2295, 315},
    {"Label22", K::Label, "Select Folder to XCopy To", 7080, 840, 2175, 255, true, kDarkGreen},
    {"Dir2", K::FolderList, "", 7080, 1080, 2295, 2340},
    {"Label18", K::Label, "Contents Of To Folder", 7200, 3480, 2295, 255, true, kBlue},
    {"File2", K::FileList, "", 7080, 3720, 2295, 2184},

    // Bottom strip: the automatic mode, the buttons and the clock
    {"ckUseTimer", K::CheckBox, "", 240, 6000, 255, 375},
    {"lblUseTimer", K::Label, "Set Automatic XCopy", 600, 6120, 2055, 255},
    {"lblSyncSet", K::Label, "Auto-XCopy is Actve", 240, 6120, 2055, 255, kHidden, kGreen},
    {"Label12", K::Label, "Every", 240, 6480, 495, 255, kHidden},
    {"cmbDays", K::DropDownList, "", 840, 6480, 615, 315, kHidden},
    {"Label16", K::Label, "Days", 1560, 6480, 495, 255, kHidden},
    {"Label24", K::Label, "At", 2160, 6480, 495, 255, kHidden},
    {"Combo1", K::DropDownList, "", 2520, 6480, 1335, 315, kHidden},
    {"cmdActivateAS", K::Button, "A&ctivate Auto-XCopy", 3960, 6480, 1695, 375, kHidden},
    {"CkStopAutoSync", K::CheckBox, "", 240, 6840, 255, 375, kHidden},
    {"Label25", K::Label, "Stop using auto-XCopy", 600, 6960, 2055, 255, kHidden},
    {"Command1", K::Button, "&XCopy", 3240, 6240, 3255, 375},
    {"cmdCreateDir", K::Button, "A&dd A Folder", 4080, 6720, 1695, 375},
    {"lblNextSync", K::Label, "Next XCopy Date", 7080, 6120, 1335, 255, kHidden},
    {"lblNextDate", K::Label, "", 8400, 6120, 1095, 255, kHidden},
    {"Label26", K::Label, "Current Date", 7080, 6480, 1215, 255},
    {"lblDate", K::Label, "", 8400, 6480, 1095, 255},
    {"Label27", K::Label, "CurrentTime", 7080, 6840, 1215, 255},
    {"lblTimer", K::CaptionLabel, "", 8400, 6840, 1095, 255},
}};

// An arrow from the note above the lock boxes down onto the first lock box.
const std::array<LineEntry, 4> kfrmSelectLines{{
    {"Line1", 6720, 240, 6720, 600},
    {"Line2", 6600, 480, 6720, 600},
    {"Line3", 6840, 480, 6720, 600},
    {"Line4", 6480, 240, 6720, 240},
}};
