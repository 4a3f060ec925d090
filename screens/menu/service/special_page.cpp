#include "screens/menu/service/special_page.h"

void SpecialPage_Create() {}
void SpecialPage_Enter() {}
void SpecialPage_Show() {}
void SpecialPage_Hide() {}
void SpecialPage_Update() {}

const PageDesc SpecialPageDesc{SpecialPage_Create, SpecialPage_Enter, SpecialPage_Show, SpecialPage_Hide,
                               SpecialPage_Update};
