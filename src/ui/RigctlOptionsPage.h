#pragma once
// The rigctl server's page of the options window: RigctlOnBox, the address
// (RigctlAddressEdit) and the port (RigctlPortEdit) over RigctlOptions.

namespace ondaris {

class RigctlOptions;
class UserOptionsDialogView;

void AddRigctlOptionsPage(UserOptionsDialogView& view, RigctlOptions& model);

}  // namespace ondaris
