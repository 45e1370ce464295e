#pragma once
// The codes of the file actions that the explorer's and the finder's lists share.
enum FileActionCode : int {
    kFileActionCopy = 0,       // the selected files to the clipboard
    kFileActionDrag = 1,       // drag and drop of the selected files
    kFileActionMove = 2,       // into a folder the user chooses
    kFileActionDelete = 3,     // to the recycle bin
    kFileActionOpen = 4,       // with the shell, else the "open with" choice
    kFileActionRename = 5,     // the first selected file
    kFileActionProperties = 6, // the first selected file's properties dialog
    kFileActionView = 7,       // the first selected picture in the picture viewer
    kFileActionPrint = 9,      // the first selected picture, printed (argument 1: preview)
    kFileActionEdit = 10,      // nothing yet
};
