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

std::string CaptionSemAtalho(const std::string& aCaption) {
  std::string r;
  for (size_t i = 0; i < aCaption.size(); ++i) {
    if (aCaption[i] == '&') {
      if (i + 1 < aCaption.size() && aCaption[i + 1] == '&') r += '&', ++i;
      continue;
    }
    r += aCaption[i];
  }
  return r;
}

int RespostaSegura(const TnDialogo& aDialogo) {
  int n = static_cast<int>(aDialogo.Botoes.size());
  if (n == 0) return 0;
  if (aDialogo.Cancelar >= 0 && aDialogo.Cancelar < n) return aDialogo.Cancelar;
  for (int i = 0; i < n; ++i) {
    std::string c = CaptionSemAtalho(aDialogo.Botoes[static_cast<size_t>(i)]);
    if (SameText(c, "Não") || SameText(c, "Nao") || SameText(c, "Cancelar")) return i;
  }
  return n - 1;
}

void SetDialogoService(std::shared_ptr<IDialogoService> aService) { Service() = std::move(aService); }

int nMessageDlg(const std::string& aTexto, TMsgDlgType aTipo, const std::vector<std::string>& aBotoes, int aPadrao,
                int aCancelar, int) {
  TnDialogo d{aTexto, aTipo, aBotoes.empty() ? std::vector<std::string>{"OK"} : aBotoes, aPadrao, aCancelar};
  int n = static_cast<int>(d.Botoes.size());
  int r = Service() ? Service()->Perguntar(d) : RespostaSegura(d);
  if (r < 0 || r >= n) throw EInternalError("resposta fora dos botões do diálogo: " + std::to_string(r));
  return r;
}

}  // namespace nFramework
