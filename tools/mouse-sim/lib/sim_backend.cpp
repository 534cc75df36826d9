#include "sim_backend.h"

namespace vexmo {

namespace {

class SimHidDevice : public HidDevice {
public:
    SimHidDevice(SimMouse& mouse, SimMouse::Handle handle) : mouse_(mouse), handle_(handle) {}
    ~SimHidDevice() override { mouse_.Close(handle_); }

    bool GetAttributes(HidAttributes& out) override { return mouse_.GetAttributes(handle_, out); }
    bool GetCaps(HidCaps& out) override { return mouse_.GetCaps(handle_, out); }
    bool SetFeature(const uint8_t* data, size_t len) override
    {
        return mouse_.SetFeature(handle_, data, len);
    }
    bool GetFeature(uint8_t* data, size_t len) override
    {
        return mouse_.GetFeature(handle_, data, len);
    }
    bool Read(uint8_t* data, size_t len) override
    {
        return mouse_.Read(handle_, data, len) == SimMouse::ReadResult::Report;
    }
    void CancelRead() override { mouse_.CancelRead(handle_); }

private:
    SimMouse& mouse_;
    SimMouse::Handle handle_;
};

} // namespace

std::vector<std::string> SimHidBackend::EnumerateInterfaces()
{
    std::vector<std::string> paths;
    for (auto& i : mouse_.Interfaces())
        paths.push_back(i.path);
    return paths;
}

std::unique_ptr<HidDevice> SimHidBackend::Open(const std::string& path)
{
    SimMouse::Handle handle = mouse_.Open(path);
    if (!handle)
        return nullptr;
    return std::make_unique<SimHidDevice>(mouse_, handle);
}

} // namespace vexmo
