#pragma once
// Every control and menu item of the front panel, by the name the rest of the
// program (and the window's object names) use. X-macro so that the enum and
// the names can never disagree.

#define ONDARIS_BUTTON_CONTROLS(X)                                                                      \
  X(FiltBtn0) X(FiltBtn1) X(FiltBtn2) X(FiltBtn3) X(FiltBtn4) X(FiltBtn5) X(FiltBtn6) X(FiltBtn7)      \
  X(FiltBtn8) X(FiltBtn9) X(FiltBtn10) X(FiltBtn11) X(FiltBtn12) X(FiltBtn13) X(FiltBtn14)             \
  X(FiltBtn15) X(FiltBtn16) X(FiltBtn17) X(FiltBtn18) X(FiltBtn19) X(FiltBtn20) X(FiltBtn21)           \
  X(FiltBtn22) X(FiltBtn23) X(DecrBWBtn) X(IncrBWBtn)                                                  \
  X(AGCFastBtn) X(AGCMedBtn) X(AGCSlowBtn) X(RoundBtn)                                                 \
  X(DataModeBtn) X(ModeBtnCW) X(ModeBtnLSB) X(ModeBtnUSB) X(ModeBtnAM) X(VFOBtn)                        \
  X(PBTBtnDown) X(PBTBtnUp) X(LastFreqBtn)                                                             \
  X(StepBtn10000) X(StepBtn5000) X(StepBtn3000) X(StepBtn1000) X(StepBtn500) X(StepBtn100)            \
  X(StepBtn50) X(StepBtn10) X(StepBtn1)                                                                \
  X(FreqUpBtnFast) X(FreqUpBtn) X(FreqDnBtn) X(FreqDnBtnFast)                                          \
  X(StopBtn) X(ScanBtn) X(ScanSpd0Btn) X(ScanSpd1Btn) X(ScanSpd2Btn) X(ScanSpd3Btn) X(ScanSpd4Btn)      \
  X(ScanSpd5Btn)                                                                                       \
  X(BankUpBtn) X(BankDnBtn) X(TagBtn) X(LockoutBtn)                                                    \
  X(ScpdBtn0) X(ScpdBtn1) X(ScpdBtn2) X(ScpdBtn3) X(ScpdBtn4) X(ScpdBtn5) X(ScpdBtn6) X(ScpdBtn7)      \
  X(ScpdBtn8) X(ScpdBtn9) X(ScpdBtn10) X(ScpdBtn11) X(ScpdBtn12) X(ScpdBtn13) X(ScpdBtn14)             \
  X(ScpdBtn15)                                                                                         \
  X(FileScanBtn) X(MemScanBtn) X(LimitScanBtn) X(BandScanBtn)                                          \
  X(LineMuteBtn) X(SpkrMuteBtn)                                                                        \
  X(LookupBtn) X(LkBtn) X(NowBtn) X(FileOpBtn1) X(FileOpBtn2) X(FileOpBtn3) X(FileOpBtn5)              \
  X(ExpressRecBtn)                                                                                     \
  X(WWV25Btn) X(WWV5Btn) X(WWV10Btn) X(WWV15Btn) X(WWV20Btn) X(WWVRestoreBtn)                          \
  X(LogEntryBtn) X(LogDispBtn)

#define ONDARIS_OTHER_CONTROLS(X)                                                                       \
  X(FreqDispPanel) X(Meter) X(PBTDisplayPanel) X(TuningSpeedTrackbar) X(BankDispPanel)                 \
  X(StatusPanel) X(TimePanel) X(Grid) X(LineTrackbar) X(SpkrTrackbar)

#define ONDARIS_MENU_ITEMS(X)                                                                           \
  X(NewFileItem) X(LoadFileItem) X(ReopenMainItem)                                                     \
  X(Reopen1Item) X(Reopen2Item) X(Reopen3Item) X(Reopen4Item) X(Reopen5Item) X(Reopen6Item)            \
  X(Reopen7Item) X(Reopen8Item) X(Reopen9Item) X(Reopen10Item)                                         \
  X(AppendFileItem) X(ImportEibiItem) X(SaveFileItem) X(SaveFileAsItem) X(SaveScpdItem) X(BackupItem)  \
  X(ExitItem)                                                                                          \
  X(AddEntryItem) X(EditEntryItem) X(CopyItem) X(DeleteEntryItem) X(PasteItem)                          \
  X(Bank1) X(Bank2) X(Bank3) X(Bank4) X(Bank5) X(Bank6) X(Bank7) X(Bank8) X(Bank9) X(Bank10)           \
  X(BankTagItem) X(ClrMemItem) X(ClearBankItem)                                                        \
  X(LimRange1) X(LimRange2) X(LimRange3) X(LimRange4) X(LimRange5) X(LimRange6) X(LimRange7)           \
  X(LimRange8) X(LimRange9) X(LimRange10) X(LimRange11) X(LimRange12) X(LimRange13) X(LimRange14)      \
  X(LimRange15) X(LimRange16) X(LimRange17) X(LimRange18) X(LimRange19) X(LimRange20)                  \
  X(SkedItem) X(RecordItem) X(MFLGenItem) X(MFLViewItem)                                               \
  X(MuteOnExitItem) X(DefaultStepItem) X(DefaultFiltItem) X(UserOptionsItem)                            \
  X(HelpItem) X(LogHelpItem) X(HintItem) X(AboutItem)

#define ONDARIS_ALL_CONTROLS(X) ONDARIS_BUTTON_CONTROLS(X) ONDARIS_OTHER_CONTROLS(X) ONDARIS_MENU_ITEMS(X)
