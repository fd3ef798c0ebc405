// Resource identifier of the stored skin, shared by skin.rc and the code
// that loads it (FindResource with RT_RCDATA). The resource holds exactly a
// skin stream: the 4-byte decompressed size, then the coded package.
#pragma once

#define IDR_STOREDSKIN 200
