// The management query server: the locator CreateOleObject starts for "WbemScripting.SWbemLocator",
// answering queries about the machine's wireless adapters from the system's network interfaces.
//
// Members, reached late-bound by name:
//   locator   ConnectServer([server], [namespace]): the local machine's "root\CIMV2" only
//   services  ExecQuery(query, [language], [flags]): "SELECT * FROM WiFi_AdapterAssociationInfo" in WQL
//   object set  Count, ItemIndex(index from 0)
//   object    Associated, AuthenAlgorithm, AuthenEnabled, AuthenMode, Caption, Channel, Description,
//             Encryption, OpMode, Profile, Rate, SettingID, SSID
// An adapter is a network interface with a "wireless" folder in /sys/class/net or a line in
// /proc/net/wireless, in the order of their names. Caption, Description and SettingID are the interface's
// name and Associated whether it is up; the system files say nothing of the rest, which are null.
// Failures raise EOleException.
#pragma once

#include <memory>
#include <string>

#include "platform/rtl/Variants.h"

namespace servers {

extern const Char* const kManagementProgId;

std::shared_ptr<IDispatch> NewManagementLocator();
void RegisterManagementServer();

// The folder under which the server finds sys/class/net and proc/net/wireless: "/" unless a test puts a
// fixture folder in the system's place.
void SetManagementSystemRoot(const std::string& root);

} // namespace servers
