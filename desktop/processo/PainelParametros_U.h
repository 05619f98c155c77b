// The parameter panel of a process, generated from its items: one tab per page, separators,
// one control per item by its control kind (date, number, tick, combo, lookup with its search
// dialog, folder), captions with the required mark, hints as tooltips. Every change goes to the
// item (NormalizarValor, SetValue) and the enable and required expressions are applied again.
// The panel decides nothing: the items and the process do.
#pragma once
#include <QWidget>
#include <string>
#include <vector>

#include "PowerParam_U.h"

class QLabel;
class QTabWidget;

namespace nDesktop {

class TPainelParametros : public QWidget {
  Q_OBJECT
 public:
  // REQUIRES: aPainel outlives the widget.
  explicit TPainelParametros(nFramework::TnPowerParamPanel& aPainel, QWidget* aPai = nullptr);

  // The controls show the items' values again (after the selection filled some, say).
  void Recarregar();
  // Shows a parameter error at its item: its tab, its focused control, the message beneath it.
  // False when the item has no control on the panel (a hidden item).
  bool MostrarErro(const std::string& aAlias, const std::string& aMensagem);
  void LimparErros();

  // The control that edits the item (the line edit of a lookup or a folder); nullptr when hidden.
  QWidget* Controle(const std::string& aAlias) const;
  // The search or folder button beside it; nullptr when it has none.
  QWidget* Botao(const std::string& aAlias) const;
  QLabel* Rotulo(const std::string& aAlias) const;
  QLabel* Erro(const std::string& aAlias) const;
  QLabel* Descricao(const std::string& aAlias) const;
  QTabWidget* Paginas() const { return FPaginas; }

 signals:
  void Alterado();

 private:
  struct TLinha {
    nFramework::TnParamItem* Item = nullptr;
    QLabel* Rotulo = nullptr;
    QWidget* Controle = nullptr;
    QWidget* Botao = nullptr;
    QLabel* Erro = nullptr;
    QLabel* Descricao = nullptr;  // a lookup's description of its value
    int Pagina = 0;
  };

  QWidget* CriarControle(TLinha& aLinha);
  void Carregar(const TLinha& aLinha);
  void Definir(TLinha& aLinha, const std::string& aTexto);
  void AplicarRegras();
  void AtualizarDescricao(const TLinha& aLinha);
  void Pesquisar(TLinha& aLinha);
  void EscolherPasta(TLinha& aLinha);
  const TLinha* Linha(const std::string& aAlias) const;

  nFramework::TnPowerParamPanel& FPainel;
  QTabWidget* FPaginas;
  std::vector<TLinha> FLinhas;
  bool FCarregando = false;
};

}  // namespace nDesktop
