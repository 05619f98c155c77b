#include "Dialogo_U.h"

#include "Classes_U.h"
#include "Exceptions_U.h"

namespace nFramework {

namespace {
std::shared_ptr<IDialogoService>& Service() {
  static std::shared_ptr<IDialogoService> service;
  return service;
}
}  // namespace

std::string CaptionSemAtalho(const std::string& ACaption) {
  std::string r;
  for (size_t i = 0; i < ACaption.size(); ++i) {
    if (ACaption[i] == '&') {
      if (i + 1 < ACaption.size() && ACaption[i + 1] == '&') r += '&', ++i;
      continue;
    }
    r += ACaption[i];
  }
  return r;
}

int RespostaSegura(const TnDialogo& ADialogo) {
  int n = static_cast<int>(ADialogo.Botoes.size());
  if (n == 0) return 0;
  if (ADialogo.Cancelar >= 0 && ADialogo.Cancelar < n) return ADialogo.Cancelar;
  for (int i = 0; i < n; ++i) {
    std::string c = CaptionSemAtalho(ADialogo.Botoes[static_cast<size_t>(i)]);
    if (SameText(c, "Não") || SameText(c, "Nao") || SameText(c, "Cancelar")) return i;
  }
  return n - 1;
}

void SetDialogoService(std::shared_ptr<IDialogoService> AService) { Service() = std::move(AService); }

int nMessageDlg(const std::string& ATexto, TMsgDlgType ATipo, const std::vector<std::string>& ABotoes, int APadrao,
                int ACancelar, int) {
  TnDialogo d{ATexto, ATipo, ABotoes.empty() ? std::vector<std::string>{"OK"} : ABotoes, APadrao, ACancelar};
  int n = static_cast<int>(d.Botoes.size());
  int r = Service() ? Service()->Perguntar(d) : RespostaSegura(d);
  if (r < 0 || r >= n) throw EInternalError("resposta fora dos botões do diálogo: " + std::to_string(r));
  return r;
}

}  // namespace nFramework
