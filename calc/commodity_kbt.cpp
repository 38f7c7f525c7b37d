#include "calc/commodity_kbt.h"

namespace kbt2 {

int reportLength(const Worksheet& ws) {
    if (!ws.text({Control::Cropname1, 13}).empty()) return 14;
    for (int i = 1; i < 13; ++i)
        if (ws.text({Control::Cropname1, i}).empty()) return i;
    return 13;
}

// Not built yet.
void command3Click(Worksheet&, Platform&) {}

}  // namespace kbt2
