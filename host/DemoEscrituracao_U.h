// A demo company's year of bookkeeping: the opening balances implanted on the first day of the
// year, every month's balanced entries (billing and collection, purchases and services with
// their invoices, payables and withholdings, payroll, taxes, depreciation, banking and
// investments, manual entries) and the closing entries of origin "ZZ" on the last day; plus
// the fiscal rows behind the purchases and the assets bought during the year.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "DateUtils_U.h"
#include "DemoCadastros_U.h"
#include "DemoEmpresa_U.h"
#include "Sorteio_U.h"

namespace nHost {

class TEscrituracaoDemo {
 public:
  TEscrituracaoDemo(const TEmpresaDemo& empresa, const TPlanoEmpresa& plano);
  // Draws the year in memory, then writes it.
  // REQUIRES: the company's registers are in (GravarEmpresaDemo); inside a write transaction.
  void Executar();

 private:
  struct TLancamento {
    nFramework::TDateTime Data;
    int64_t Debito, Credito;  // CONTACTB
    int64_t Centavos;
    int Historico;
    std::string Complemento;
    std::string Origem;
  };
  struct TParcela {
    nFramework::TDateTime Data;
    int64_t Centavos;
  };
  struct TNotaEntrada {
    int64_t Chave;
    int Fornecedor;  // CODIGOPESSOA
    int Numero;
    nFramework::TDateTime Emissao, Entrada;
    std::vector<int> Cfops;
    int64_t ISS = 0, IRRF = 0, INSS = 0, PCC = 0;  // withheld
    std::vector<TParcela> Parcelas;                 // the payments made within the year
  };

  // Amounts in cents, scaled to the company.
  int64_t Valor(double reais) const;
  int64_t Sortear(double minimo, double maximo);
  nFramework::TDateTime DiaUtil(int mes, int dia) const;  // the day, or the next working day in the month
  nFramework::TDateTime UltimoDiaUtil(int mes) const;
  int64_t Conta(const std::string& classif) const;
  // Debits minus credits of the account up to the day, opening included.
  int64_t Saldo(const std::string& classif, nFramework::TDateTime ate) const;
  void Lancar(nFramework::TDateTime data, const std::string& debito, const std::string& credito, int64_t centavos,
              int historico, std::string complemento, const char* origem);
  const TFornecedorDemo& Fornecedor(int ramo, int escolha);
  TNotaEntrada& NovaNota(const TFornecedorDemo& fornecedor, nFramework::TDateTime entrada,
                         std::vector<int> cfopsNoEstado);
  void Pagar(TNotaEntrada& nota, const std::string& contaFornecedor, int64_t liquido, int parcelas,
             nFramework::TDateTime primeiroVencimento);

  void Abertura();
  void Faturamento(int mes);
  void Recebimentos(int mes);
  void Compras(int mes);
  void Servicos(int mes);
  void Bens(int mes);
  void Despesas(int mes);
  void Folha(int mes);
  void Recolhimentos(int mes);
  void Depreciacao(int mes);
  void FimDoMes(int mes);
  void Encerramento();
  void Gravar();

  const TEmpresaDemo& FEmpresa;
  const TPlanoEmpresa& FPlano;
  TSorteio FSorteio;
  std::vector<std::pair<std::string, int64_t>> FAbertura;  // debits minus credits per classification
  std::vector<TLancamento> FLancamentos;
  std::vector<TNotaEntrada> FNotas;
  std::vector<std::pair<std::string, nFramework::TDateTime>> FBensNovos;
  int FNumeroNF = 0;  // of the company's own invoices
  std::vector<int> FNumeroFornecedor;
};

}  // namespace nHost
