#pragma once
// "Synchronize": the period at which a followed text file is read again, in minutes and
// seconds. One instance, theSynchronize; the period stays from one use to the next.
#include <cstdint>

#include "platform/dialog.h"
#include "widgets/page_look.h"

class synchronize : public platform::Dialog {
public:
    static constexpr int kTemplateId = 231;

    enum : int {
        kLabel = 1501,
        kMinutesEdit = 1502,
        kMinutesSpin = 1503,
        kMinutesLabel = 1504,
        kSecondsEdit = 1505,
        kSecondsSpin = 1506,
        kSecondsLabel = 1507,
        kDoButton = 1508,
        kCancelButton = platform::kCancel,
        kHiddenOkButton = platform::kOk,
    };

    static constexpr platform::ColorRef kDialogBrush = 0x87FF00;
    static constexpr platform::ColorRef kFieldBack = 0x73FF46;
    static constexpr platform::ColorRef kTextColor = 0xC80000;

    synchronize();

    std::int32_t minutes = 0;
    std::int32_t seconds = 10;

    // Spin steps: a negative delta (the up arrow) adds one.
    void OnDeltaPosMinutes(platform::Notify& n);
    void OnDeltaPosSeconds(platform::Notify& n);
    // "Do": takes the boxes in and ends with OK. "Cancel" ends with Cancel.
    void OnDo();
    void OnCancelShared();
    // The hidden default button: Enter takes the boxes in, the dialog stays.
    void OnUpdateDataShared();

    bool OnInitDialog() override;
    void DoDataExchange(platform::Exchange& dx) override;
    void OnOK() override { OnUpdateDataShared(); }
    void OnCancel() override { OnCancelShared(); }
    bool OnDrawItem(platform::DrawItem& item) override;
    void OnPaint() override;
    ControlColors OnCtlColor(int controlId) const;
    // The layer asks here for every control and the dialog (id 0).
    bool OnCtlColor(int controlId, platform::CtlColor& out) override {
        out = OnCtlColor(controlId);
        return true;
    }
};

extern synchronize theSynchronize;

// The re-read period in milliseconds for a typed period: (minutes * 60 + seconds) * 1000,
// at least one second and at most what the timer holds.
int SyncPeriodMs(long long minutes, long long seconds);

class data;
// After a text import: when it made the only series and "synchronize" was ticked, asks for
// the period and, unless cancelled, starts the periodic re-read.
void OfferSynchronizedReread(data& page);
