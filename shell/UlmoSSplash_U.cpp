#include "UlmoSSplash_U.h"

#include "Classes_U.h"

std::vector<std::string> TUlmoSSplash::GetListaSplashItens() const {
  nFramework::TStringList itens;
  itens.SetDelimitedText(
      "Contabilidade;Escrita Fiscal;Folha de Pagamento;Patrimônio;Livro Caixa;Protocolo;Honorários;"
      "Registro de Ponto;Atualizador",
      ';');
  return itens.Items();
}
