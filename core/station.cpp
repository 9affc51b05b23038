#include "station.h"

namespace morsk {

Station::Station()
    : app_(std::make_unique<AppState>()), session_(*app_), link_(app_->link, app_->profile), ops_(*app_, link_),
      backups_(*app_, link_, ops_)
{
    app_->link.cancel = &cancel_;
}

void Station::BeginOperation()
{
    cancel_.store(false);
    app_->link.cancelled = false;
    app_->link.cancelReported = false;
    app_->link.chipChanged = false;
}

bool Station::EndOperation()
{
    if (!app_->link.cancelled)
        return false;
    ops_.ReportCancelled();
    return true;
}

Station::~Station()
{
    std::string ignored;
    Shutdown(ignored);
}

StartResult Station::StartUp(const std::string& workDir, const StartOptions& options)
{
    return morsk::StartUp(*app_, workDir, options);
}

bool Station::StartProgrammer(const ProgrammerOptions& options, std::string& error)
{
    return session_.Start(options, error);
}

bool Station::Claim(std::string& error)
{
    return session_.LockProgrammer(error);
}

void Station::Release()
{
    session_.ReleaseProgrammer();
}

bool Station::RunClaimed(const std::function<bool()>& operation)
{
    std::string error;
    if (!Claim(error)) {
        app_->AddStatusLine(kProgrammerInUseLine);
        app_->link.diagnostics->Write("Warning: " + error + "\n");
        return false;
    }
    BeginOperation();
    const bool ok = operation();
    EndOperation();
    Release();
    return ok;
}

bool Station::Shutdown(std::string& error)
{
    return session_.Shutdown(error);
}

}  // namespace morsk
