#include "ads/core/ZADNetwork.h"

std::shared_ptr<ZADNetwork> ZADNetwork::sharedInstance() {
    static const std::shared_ptr<ZADNetwork> network = make<ZADNetwork>();
    return network;
}
