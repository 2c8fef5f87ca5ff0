/* Compiled as C: the public header must build without a C++ compiler and give C hosts the
 * same record layouts as the library sees. */
#include "varnex.h"

int varnex_header_c_sizes(int which)
{
    switch (which) {
    case 0: return (int)sizeof(DOCKSTATE);
    case 1: return (int)sizeof(ToolButtonRecord);
    default: return -1;
    }
}
