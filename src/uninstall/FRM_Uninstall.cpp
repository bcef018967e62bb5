#include "uninstall/FRM_Uninstall.h"

TFrmUninstall::TFrmUninstall() {
  SetName("FrmUninstall");
  SetCaption("Uninstall");
  SetColor(0xFFFBF0);
  SetClientSize(464, 152);
}
