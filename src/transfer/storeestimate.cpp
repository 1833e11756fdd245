#include "storeestimate.h"

#include <algorithm>

namespace {

// A message byte is 448 line bytes at 384615 baud, ten bit times each; the confirmation is
// one byte of twelve bit times at 1202 baud. A store message carries "SAv", the frame and the
// slot.
double storeLineSeconds(int frameBytes)
{
    return (frameBytes + 4) * 448 * 10 / 384615.0 + 12 / 1202.0;
}

// Before each store, and after the click that wakes a wheel with a hall sensor.
const double pause = 0.1;
const double clickSeconds = 448 * 10 / 384615.0;

} // namespace

StoreEstimate::StoreEstimate(int count, int frameBytes, bool hall)
    : stores(count)
    , perStore(storeSeconds(frameBytes, hall))
{
}

double StoreEstimate::storeSeconds(int frameBytes, bool hall)
{
    return pause + storeLineSeconds(frameBytes) + (hall ? clickSeconds + pause : 0);
}

double StoreEstimate::share(int done, double intoStore) const
{
    // A store that takes longer than expected is still not done before the wheel confirms it.
    return done < stores ? std::clamp(intoStore / perStore, 0.0, 0.95) : 0;
}

double StoreEstimate::fraction(int done, double intoStore) const
{
    return stores > 0 ? (done + share(done, intoStore)) / stores : 1;
}

double StoreEstimate::secondsLeft(int done, double intoStore) const
{
    return (stores - done - share(done, intoStore)) * perStore;
}
