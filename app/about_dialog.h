// EAboutDialog: the modal About box with the program's name and version, and how much
// program memory, object store and storage-card space is free.
#pragma once

#include "framework/dialog/modal_dialog.h"

class DeviceInfoSource;
class Font;

class EAboutDialog : public ModalDialog {
public:
    // deviceInfo: where the figures come from; none means the system. Not owned.
    EAboutDialog(Window* owner, AttributeList& attributes, DeviceInfoSource* deviceInfo = nullptr);
    ~EAboutDialog() override;

protected:
    LRESULT OnInitDialog(MessageRecord& record) override;

private:
    void OnOk(EventRecord& record);
    void SetStrings();
    void SetFigures();

    Font* titleFont_;
    DeviceInfoSource* deviceInfo_;
    DeviceInfoSource* systemInfo_;
};
