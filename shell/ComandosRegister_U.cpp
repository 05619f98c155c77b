#include "ComandosRegister_U.h"

#include <algorithm>
#include <memory>
#include <ostream>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "ComandosCli_U.h"
#include "DMClientDataSet_U.h"
#include "Dicionario_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"

using namespace nFramework;

namespace {

struct TAtribuicao {
  std::string Campo;
  std::string Valor;
  bool Identifica = false;  // written @CAMPO=valor: picks the row
};

std::vector<TAtribuicao> LerAtribuicoes(const std::vector<std::string>& ACampos) {
  std::vector<TAtribuicao> r;
  for (const auto& a : ACampos) {
    auto igual = a.find('=');
    if (igual == std::string::npos || igual == 0) throw EUso("Use CAMPO=valor, e não \"" + a + "\"");
    TAtribuicao at{Trim(a.substr(0, igual)), a.substr(igual + 1)};
    if (!at.Campo.empty() && at.Campo[0] == '@') at.Identifica = true, at.Campo.erase(0, 1);
    r.push_back(at);
  }
  return r;
}

std::string Texto(const TField& AField) {
  if (AField.IsNull()) return "";
  if (AField.DataType() == TFieldType::ftDate) return FormatDateTime("dd/mm/yyyy", AField.AsDateTime());
  if (AField.DataType() == TFieldType::ftDateTime) return FormatDateTime("dd/mm/yyyy hh:nn:ss", AField.AsDateTime());
  if (AField.DataType() == TFieldType::ftFloat) return FloatToStr(AField.AsFloat());
  return AField.AsString();
}

TField& Campo(TnDMClientDataSet& AReg, const std::string& ANome) {
  TField* f = AReg.nClientDataSet().FindField(ANome);
  if (f && !f->IsLookup()) return *f;
  std::string campos;
  for (int i = 0; i < AReg.nClientDataSet().FieldCount(); ++i)
    campos += (i ? ", " : "") + AReg.nClientDataSet().Fields(i).FieldName();
  throw EUso("Campo desconhecido: " + ANome + ". Campos de " + std::string(AReg.ClassName()) + ": " + campos);
}

// The typed text as the field keeps it: a combo accepts an item's caption; a date dd/mm/yyyy.
void Atribuir(TnDMClientDataSet& AReg, TField& AField, const std::string& AValor) {
  std::string valor = AValor;
  if (TnCampoDef* d = AReg.FindDefinicao(AField.FieldName()); d && !d->Lista.empty())
    for (const auto& [c, v] : ItensLista(d->Lista))
      if (SameText(c, valor)) valor = v;
  try {
    if ((AField.DataType() == TFieldType::ftDate || AField.DataType() == TFieldType::ftDateTime) && !Trim(valor).empty())
      AField.SetAsDateTime(StrToDate(valor));
    else
      AField.SetAsString(valor);
  } catch (const EConvertError& e) {
    throw EUso("Valor inválido para o campo " + AField.FieldName() + ": " + e.what());
  }
}

TVariant ValorDigitado(TField& AField, const std::string& AValor) {
  try {
    if (Trim(AValor).empty()) return TVariant();
    switch (AField.DataType()) {
      case TFieldType::ftDate:
      case TFieldType::ftDateTime: return TVariant::FromDate(StrToDate(AValor));
      case TFieldType::ftSmallint:
      case TFieldType::ftInteger:
      case TFieldType::ftLargeint: return TVariant(static_cast<long long>(TVariant(Trim(AValor)).AsInt64()));
      case TFieldType::ftFloat:
      case TFieldType::ftCurrency: return TVariant(TVariant(Trim(AValor)).AsFloat());
      default: return TVariant(AValor);
    }
  } catch (const EConvertError& e) {
    throw EUso("Valor inválido para o campo " + AField.FieldName() + ": " + e.what());
  }
}

std::string Condicao(TnDMClientDataSet& AReg, const std::vector<TAtribuicao>& AAtribuicoes) {
  std::string r;
  for (const auto& a : AAtribuicoes) {
    TField& f = Campo(AReg, a.Campo);
    TVariant v = ValorDigitado(f, a.Valor);
    r += (r.empty() ? "" : " and ") + f.FieldName() + (v.IsNull() ? std::string(" is null") : " = " + ValorParaSQL(v, f.DataType()));
  }
  return r;
}

void ImprimirLinhas(TClientDataSet& ADados, std::ostream& AOut) {
  std::vector<TField*> campos;
  for (int i = 0; i < ADados.FieldCount(); ++i)
    if (ADados.Fields(i).Visible && !ADados.Fields(i).IsLookup()) campos.push_back(&ADados.Fields(i));
  for (size_t i = 0; i < campos.size(); ++i) AOut << (i ? " | " : "") << campos[i]->FieldName();
  AOut << '\n';
  for (ADados.First(); !ADados.Eof(); ADados.Next()) {
    for (size_t i = 0; i < campos.size(); ++i) AOut << (i ? " | " : "") << Texto(*campos[i]);
    AOut << '\n';
  }
  AOut << "(" << ADados.RecordCount() << " registro(s))\n";
}

void ImprimirRegistro(TnDMClientDataSet& AReg, std::ostream& AOut) {
  TClientDataSet& d = AReg.nClientDataSet();
  for (int i = 0; i < d.FieldCount(); ++i) {
    TField& f = d.Fields(i);
    AOut << f.FieldName();
    if (f.DisplayLabel != f.FieldName()) AOut << " (" << f.DisplayLabel << ")";
    AOut << ": " << Texto(f) << '\n';
  }
  for (const auto& det : AReg.Detalhes()) {
    TField* m = d.FindField(det.CampoMestre);
    AOut << "Detalhe \"" << det.Caption << "\": ulmo register " << det.Classe << " list " << det.CampoDetalhe << '='
         << (m ? Texto(*m) : "") << '\n';
  }
}

// The row whose key the assignments give; the key assignments are taken out of the list.
bool Posicionar(TnDMClientDataSet& AReg, std::vector<TAtribuicao>& AAtribuicoes) {
  std::vector<std::string> chave = AReg.CamposChave();
  if (chave.empty()) throw EUso(std::string(AReg.ClassName()) + " não declara chave primária");
  std::vector<TAtribuicao> identificam, resto;
  bool algumaMarcada = std::any_of(AAtribuicoes.begin(), AAtribuicoes.end(), [](const auto& a) { return a.Identifica; });
  for (auto& a : AAtribuicoes) {
    bool ehChave = std::any_of(chave.begin(), chave.end(), [&](const std::string& c) { return SameText(c, a.Campo); });
    bool identifica = algumaMarcada ? a.Identifica : ehChave;
    (identifica ? identificam : resto).push_back(a);
  }
  for (const auto& c : chave)
    if (std::none_of(identificam.begin(), identificam.end(), [&](const auto& a) { return SameText(a.Campo, c); }))
      throw EUso("Informe a chave do registro: " + AReg.ChavePrimaria() + " (faltou " + c + ")");
  AAtribuicoes = resto;
  AReg.FetchRegistros(Condicao(AReg, identificam));
  return !AReg.nClientDataSet().IsEmpty();
}

int Gravar(TnDMClientDataSet& AReg, std::ostream& AOut, std::ostream& AErr, const std::string& AFeito) {
  int erros = AReg.ApplyUpdates(0);
  if (erros > 0) {
    for (const auto& e : AReg.ErrosApplyUpdates()) AErr << "Erro: " << e << '\n';
    return csFalha;
  }
  AOut << AFeito << '\n';
  return csSucesso;
}

}  // namespace

int ComandoRegister(const std::string& AClasse, const std::string& AOperacao, const std::vector<std::string>& ACampos,
                    std::ostream& AOut, std::ostream& AErr) {
  std::string classe = nNomeRegistrado(AClasse);
  if (classe.empty()) {
    std::string proximos;
    for (const auto& n : NomesProximos(AClasse)) proximos += (proximos.empty() ? "" : ", ") + n;
    throw EUso("Classe desconhecida: " + AClasse + (proximos.empty() ? "" : ". Nomes próximos: " + proximos));
  }
  std::unique_ptr<TnDataModule> obj = nCriarInstancia(classe);
  auto* reg = dynamic_cast<TnDMClientDataSet*>(obj.get());
  if (!reg) throw EUso(classe + " não é um cadastro (para um processo use: ulmo run " + classe + ")");
  std::vector<TAtribuicao> atribuicoes = LerAtribuicoes(ACampos);
  reg->ConfigSobDemanda();
  TClientDataSet& d = reg->nClientDataSet();
  try {
    if (AOperacao == "list") {
      if (atribuicoes.empty()) reg->Abrir();
      else reg->FetchRegistros(Condicao(*reg, atribuicoes));
      ImprimirLinhas(d, AOut);
      return csSucesso;
    }
    if (AOperacao == "get") {
      if (!Posicionar(*reg, atribuicoes)) {
        AErr << "Registro não encontrado.\n";
        return csFalha;
      }
      if (!atribuicoes.empty()) throw EUso("get aceita apenas os campos da chave: " + reg->ChavePrimaria());
      ImprimirRegistro(*reg, AOut);
      return csSucesso;
    }
    if (AOperacao == "insert") {
      reg->FetchRegistros("1 = 0");
      d.Append();
      for (const auto& a : atribuicoes) Atribuir(*reg, Campo(*reg, a.Campo), a.Valor);
      d.Post();
      return Gravar(*reg, AOut, AErr, "Registro incluído.");
    }
    if (AOperacao == "update" || AOperacao == "delete") {
      if (!Posicionar(*reg, atribuicoes)) {
        AErr << "Registro não encontrado.\n";
        return csFalha;
      }
      if (AOperacao == "delete") {
        if (!atribuicoes.empty()) throw EUso("delete aceita apenas os campos da chave: " + reg->ChavePrimaria());
        d.Delete();
        return Gravar(*reg, AOut, AErr, "Registro excluído.");
      }
      if (atribuicoes.empty()) throw EUso("Informe os campos a alterar (CAMPO=valor)");
      d.Edit();
      for (const auto& a : atribuicoes) Atribuir(*reg, Campo(*reg, a.Campo), a.Valor);
      d.Post();
      return Gravar(*reg, AOut, AErr, "Registro alterado.");
    }
  } catch (const EUso&) {
    d.Cancel();
    throw;
  } catch (const std::exception& e) {
    // The row was refused: nothing was written.
    d.Cancel();
    AErr << "Erro: " << e.what() << '\n';
    return csFalha;
  }
  throw EUso("Operação desconhecida: " + AOperacao + " (use list, get, insert, update ou delete)");
}
