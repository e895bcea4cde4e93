// The common-controls calls of the pages, each made inside the module's call
// context (module_act_ctx.h) so that the pages get version 6 of the controls
// whatever the host process selected. Comctl32.dll is loaded inside that
// context on first need and never freed; each address found is kept. When
// the context or the function is not available a call returns its failure
// result without calling.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace vornik {
namespace in_context {

void InitCommonControls();                                                       // nothing
HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int grow);  // null
int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon);               // -1
BOOL ImageList_Destroy(HIMAGELIST list);                                         // FALSE

}  // namespace in_context
}  // namespace vornik
