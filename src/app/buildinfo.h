#ifndef BUILDINFO_H
#define BUILDINFO_H

// What a deployment decides about the build: its date, which is also the version the update
// server compares with, and where the vendor and its update server are found. The vendor
// values come from the build settings.
namespace BuildInfo {
constexpr const char* date = "2013-03-07";
constexpr const char* vendor = RIMGLOW_VENDOR;
constexpr const char* vendorUrl = RIMGLOW_VENDOR_URL;
constexpr const char* updateHost = RIMGLOW_UPDATE_HOST;
// Names another update server, as "host" or "host:port", for the Windows build's start.
constexpr const char* updateServerVariable = "RIMGLOW_UPDATE_SERVER";
} // namespace BuildInfo

#endif
