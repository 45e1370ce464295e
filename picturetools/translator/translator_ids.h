#pragma once
// Control ids of the pictures translator's form (also read by its end-to-end test).
enum TranslatorControlId : int {
    IDC_TRANSLATOR_LIST = 1000,        // the input list (report list control)
    IDC_TRANSLATOR_ADD_FILES = 1001,   // "Add &File(s)"
    IDC_TRANSLATOR_ADD_FOLDER = 1002,  // "&Add Folder"
    IDC_TRANSLATOR_REMOVE = 1003,      // "&Remove"
    IDC_TRANSLATOR_OUTPUT = 1004,      // output folder edit
    IDC_TRANSLATOR_BROWSE = 1005,      // "..."
    IDC_TRANSLATOR_TYPE = 1006,        // "Type :" combo box (item data: codec table index)
    IDC_TRANSLATOR_DEPTH = 1007,       // "Color depth :" combo box (item data: bits)
    IDC_TRANSLATOR_QUALITY = 1008,     // "JPEG Quality :" edit
    IDC_TRANSLATOR_QUALITY_SPIN = 1009,
    IDC_TRANSLATOR_COMPRESS = 1010,    // "Compress" check box
    IDC_TRANSLATOR_START = 1011,       // "&Start"
    IDC_TRANSLATOR_TYPE_LABEL = 1012,
    IDC_TRANSLATOR_DEPTH_LABEL = 1013,
    IDC_TRANSLATOR_QUALITY_LABEL = 1014,
    IDC_TRANSLATOR_OUTPUT_LABEL = 1015,
};

// The working window of a batch run (a top-level dialog titled "Quenta - Working...").
enum WorkingWindowControlId : int {
    IDC_WORKING_LINE1 = 1100,
    IDC_WORKING_LINE2 = 1101,
    IDC_WORKING_BAR1 = 1102, // files done
    IDC_WORKING_BAR2 = 1103, // the current file's progress
    IDC_WORKING_ANIMATION = 1104,
    // "&Cancel" is IDCANCEL.
};
