#ifndef STOREESTIMATE_H
#define STOREESTIMATE_H

// How far a transfer is and how long it still takes, from the dongle's line rate alone: the
// wheel says nothing until it confirms a store, so the store under way counts by the time it
// is expected to take.
class StoreEstimate {
public:
    StoreEstimate() = default;
    StoreEstimate(int count, int frameBytes, bool hall);

    // Seconds one store takes on the line, its pauses included.
    static double storeSeconds(int frameBytes, bool hall);

    int count() const { return stores; }
    double totalSeconds() const { return stores * perStore; }
    // From 0 to 1, given the stores the wheel confirmed and the seconds since the one under
    // way began.
    double fraction(int done, double intoStore) const;
    // Above 0 until the wheel confirmed the last store.
    double secondsLeft(int done, double intoStore) const;

private:
    double share(int done, double intoStore) const;

    int stores = 0;
    double perStore = 0;
};

#endif
