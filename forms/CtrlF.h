#pragma once

#include "toolkit/bevel.h"
#include "toolkit/form.h"
#include "toolkit/speed_button.h"

// The control bar: an always-on-top tool window of four buttons that drive the
// game and end the program. It holds no state of its own and reaches the
// results window through its single instance, FCSeisekiF. Constructing it
// creates the window from its form data, visible; closing it only hides it.
class TFCCtrF : public Form {
public:
    TFCCtrF();
    ~TFCCtrF() override;

    // Components, in creation order.
    Bevel Bevel1;
    TSpeedButton SpeedButton1;
    TSpeedButton SpeedButton2;
    TSpeedButton SpeedButton3;
    TSpeedButton SpeedButton4;

    // Handlers.
    void SpeedButton1Click(TSpeedButton& Sender);
    void SpeedButton2Click(TSpeedButton& Sender);
    void SpeedButton3Click(TSpeedButton& Sender);
    void SpeedButton4Click(TSpeedButton& Sender);
    void FormHide(Form& Sender);
};

// The single instance, set while it exists.
extern TFCCtrF* FCCtrF;
