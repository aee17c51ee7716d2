#pragma once
// The main window's image list: small pictures for the tool bar and the
// menus, drawn here so the program carries no picture files of others.
#include <QIcon>

namespace quodle {

enum TToolImage : int {
    imgNew = 0,
    imgOpen = 1,
    imgSave = 2,
    imgSaveAs = 3,
    imgCommentAdd = 4,
    imgCommentDelete = 5,
    imgMarkToggle = 6,
    imgMarkPrevious = 7,
    imgMarkNext = 8,
    imgFind = 9,
    imgMarkClear = 10,
    imgWatchAdd = 11,
    imgWatchDelete = 12,
    imgBreakAdd = 13,
    imgBreakDelete = 14,
    imgSelectBracket = 15,
    imgCountBrackets = 16,
    imgVariableCheck = 17,
    imgUserFunctionJump = 18,
    imgReference = 19,
    imgLoadAutoCad = 29,
    imgLoadIntelliCad = 33,
    imgLoadZwCad = 34,
    imgLoadBricsCad = 35,
};

// The picture of an image-list index; an index without a picture gives an
// empty icon.
QIcon ToolImage(int index);

// The second image list, of the command/function tree: kTreeImageFunction
// and kTreeImageNested; other indexes give an empty icon.
QIcon TreeImage(int index);

}  // namespace quodle
