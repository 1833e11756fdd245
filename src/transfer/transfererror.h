#ifndef TRANSFERERROR_H
#define TRANSFERERROR_H

// Why a step of a transfer failed. The first three numbers are the codes the transfer dialog
// has always shown for them.
enum class TransferError {
    NoDongle = 0,     // the dongle is not there, or sending through it failed
    WheelSilent = 1,  // no answer, or a short one, to the identity request
    NotConfirmed = 2, // a store came back without the frame's CRC
    NoAccess = 3,     // the dongle is there, but this user may not open it
    WheelUnknown = 4  // the wheel answered with an identity code the product does not have
};

#endif
