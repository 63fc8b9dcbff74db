// EAboutDialog: the modal About box with the program's name and version, and how much
// program memory, object store and storage-card space is free.
#pragma once

#include <memory>

#include "app/device_figures.h"
#include "framework/dialog/modal_dialog.h"
#include "framework/graphics/font.h"

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
    void LayOutLines();

    std::unique_ptr<Font> titleFont_;
    // The system's own figures, made only when no other source was given.
    std::unique_ptr<DeviceInfoSource> systemInfo_;
    DeviceInfoSource* deviceInfo_;
};
