// Each court account once in what goes to the court. Several company accounts may map to one
// court account (the grids keep one row per company account); the court gets that account once,
// with the data of its first row, and the user is told when the other rows carried different
// data (a description, a nature, bank details), which the court then does not get.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace nUlmoEsfinge {

class TContasTceUnicas {
 public:
  // True for the first row of the court account (year of creation, court classification):
  // that row is sent, the others are not. aDados: the values that row would send, in any
  // fixed form; aContaCtb: its company account, 0 when the grid does not say.
  bool Primeira(int aAno, const std::string& aCodigo, const std::string& aDados, int64_t aContaCtb);
  // One warning per court account whose rows differ, under the group node "CONTASTCEREPETIDAS"
  // of the message control.
  void Avisar() const;

 private:
  struct TConta {
    std::string Dados;
    int64_t ContaCtb = 0;
    std::vector<int64_t> Diferentes;  // company accounts of rows with other data
    bool AlgumDiferente = false;
  };
  std::map<std::pair<int, std::string>, TConta> FContas;
  std::vector<std::pair<int, std::string>> FOrdem;
};

}  // namespace nUlmoEsfinge
