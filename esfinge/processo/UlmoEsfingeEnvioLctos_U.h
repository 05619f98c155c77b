// TLeitorLctosEsfinge: the entry sides of a period as the entry grid lists them, read in one
// scan of the entries in date and entry order (the credit side of an entry before its debit
// side), each side under the court mapping valid on its date: the one valid that day that
// started last. The mappings and origins are read once beforehand; only the current entry is
// held, so memory does not grow with the entries.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "UlmoEsfingeEnvioLinhas_U.h"
#include "UlmoEsfingeEnvioPedido_U.h"

namespace nUlmoEsfinge {

class TLeitorLctosEsfinge {
 public:
  explicit TLeitorLctosEsfinge(const TPedidoEnvioEsfinge& pedido) : P(pedido) {}

  // Calls aLinha for each side with an origin of the court system, a history and a mapping
  // valid on its date; the row is numbered from aNumeroSeq, which it leaves at the last number
  // given. REQUIRES: a connection is open, inside a read transaction.
  void Ler(int& aNumeroSeq, const std::function<void(const TLinhaLctoEsfinge&)>& aLinha);

 private:
  struct TPlano {  // one mapping row of a company account
    std::string Inicio, Fim;  // ISO dates, compared as the database compares them
    bool SemFim = false;
    bool Completo = false;    // its court account and company account exist
    std::optional<nFramework::TDateTime> DataInicio, DataFim;
    std::optional<int64_t> ContaTce;
    int64_t ContaCtb = 0;
    int AnoCriacao = 0;
    std::string ClassifTce, ClassifDescrTce, ClassifDescrCtb;
  };
  struct TOrigem {
    std::optional<int> TipoMovimento;
    std::string Descricao;
  };
  void CarregarPlanos();
  void CarregarOrigens();
  const TPlano* Vigente(int64_t conta, std::string_view data) const;

  const TPedidoEnvioEsfinge& P;
  std::unordered_map<int64_t, std::vector<TPlano>> FPlanos;
  std::unordered_map<std::string, TOrigem> FOrigens;
};

}  // namespace nUlmoEsfinge
