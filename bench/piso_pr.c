/* The TCE-PR floor: the seven "|"-separated files of the product's run over one company and
   period (every file asked for, movement type 1, no entity identifier, no ZIP), from the
   mapping, the opening balances and the court chart preloaded and one scan of the period's
   entries into monthly debits and credits per account.
   Usage: piso_pr BANCO EMPRESA SISTEMA AAAA-MM-DD AAAA-MM-DD ID_PESSOA PASTA */
#include <zip.h>

#include "piso.h"

enum { kMeses = 12 };

typedef struct {
  long long conta, contaTce;
  char *classifTce, *descr, *natInf, *indSuperavit, *controle, *superavit, *identif, *classif, *descrPlano;
  int natureza, tipoTce;
  long long abertura;          /* cents, debits positive */
  long long deb[kMeses], cred[kMeses];
} TMapa;

typedef struct {
  const char* classif;
  int ordem; /* insertion order, for ties */
  TMapa* m;  /* NULL for a synthetic court account added above the mapped ones */
  char* descr;
  int natureza;
} TPlano;

typedef struct {
  const char* classif;
  int ordem, mes;
  TMapa* m;
} TSaldo;

static void Separador(TSaida* s) { SaidaBytes(s, "|", 1); }

/* Windows-1252 text, cut to `largura` characters, then the separator. */
static void Texto(TSaida* s, const char* v, int largura) {
  const unsigned char* u = (const unsigned char*)(v ? v : "");
  int k = 0;
  char buf[1024];
  int n = 0;
  while (*u && k < largura && n < (int)sizeof buf - 1) {
    if (*u < 0x80) {
      buf[n++] = (char)*u++;
    } else if ((*u & 0xE0) == 0xC0 && u[1]) {
      buf[n++] = (char)(((u[0] & 0x1F) << 6) | (u[1] & 0x3F));
      u += 2;
    } else {
      buf[n++] = '?';
      ++u;
      while ((*u & 0xC0) == 0x80) ++u;
    }
    ++k;
  }
  SaidaBytes(s, buf, (size_t)n);
  Separador(s);
}

static void Inteiro(TSaida* s, long long v) {
  char t[32];
  SaidaBytes(s, t, (size_t)snprintf(t, sizeof t, "%lld", v));
  Separador(s);
}

static void Zeros(TSaida* s, long long v, int largura) {
  char t[32];
  SaidaBytes(s, t, (size_t)snprintf(t, sizeof t, "%0*lld", largura, v));
  Separador(s);
}

static void Valor(TSaida* s, long long c) {
  char t[40];
  SaidaBytes(s, t, (size_t)snprintf(t, sizeof t, "%s%lld.%02lld", c < 0 ? "-" : "", llabs(c) / 100, llabs(c) % 100));
  Separador(s);
}

/* The levels of a classification in `n` fields, the first five one digit wide, the others two;
   zero-filled, empty beyond its last level. */
static void Niveis(TSaida* s, const char* c, int n) {
  const char* p = c;
  int fim = !*c;
  for (int i = 0; i < n; ++i) {
    if (fim) {
      Separador(s);
      continue;
    }
    const char* q = strchr(p, '.');
    size_t len = q ? (size_t)(q - p) : strlen(p);
    int largura = i < 5 ? 1 : 2;
    for (int k = (int)len; k < largura; ++k) SaidaBytes(s, "0", 1);
    SaidaBytes(s, p, len);
    Separador(s);
    if (q)
      p = q + 1;
    else
      fim = 1;
  }
}

static long long SemPontos(const char* c) {
  long long v = 0;
  for (; *c; ++c)
    if (*c != '.') v = v * 10 + (*c - '0');
  return v;
}

static const char* Letra(int natureza) { return natureza == 1 ? "D" : natureza == 2 ? "C" : "X"; }

static int CompararPlano(const void* a, const void* b) {
  const TPlano* x = a;
  const TPlano* y = b;
  int r = strcmp(x->classif, y->classif);
  return r ? r : x->ordem - y->ordem;
}

static int CompararSaldo(const void* a, const void* b) {
  const TSaldo* x = a;
  const TSaldo* y = b;
  if (x->mes != y->mes) return x->mes - y->mes;
  int r = strcmp(x->classif, y->classif);
  return r ? r : x->ordem - y->ordem;
}

/* The court chart's classification of a prefix of levels: "1.1.1.1.1" on the mask
   9.9.9.9.9.99.99, the missing levels zero. */
static void Mascara(const char* digitos, char* out) {
  const char* mask = "9.9.9.9.9.99.99";
  size_t n = strlen(digitos), k = 0, o = 0;
  for (const char* m = mask; *m; ++m) out[o++] = *m == '.' ? '.' : (k < n ? digitos[k++] : '0');
  out[o] = 0;
}

int main(int argc, char** argv) {
  if (argc != 8) {
    fprintf(stderr, "uso: %s BANCO EMPRESA SISTEMA AAAA-MM-DD AAAA-MM-DD ID_PESSOA PASTA\n", argv[0]);
    return 2;
  }
  sqlite3* db = AbrirBanco(argv[1]);
  int empresa = atoi(argv[2]), sistema = atoi(argv[3]);
  const char *ini = argv[4], *fim = argv[5], *pasta = argv[7];
  long long idPessoa = atoll(argv[6]);
  int ano = atoi(ini), mesIni = atoi(ini + 5);

  /* The mappings valid at the period's end, in the court account's order. */
  long long maxConta = 0;
  sqlite3_stmt* st = Preparar(db, "select max(CONTACTB) from PLANOESPEC where CODIGOEMPRESA = ?");
  sqlite3_bind_int(st, 1, empresa);
  if (sqlite3_step(st) == SQLITE_ROW) maxConta = sqlite3_column_int64(st, 0);
  sqlite3_finalize(st);
  TMapa** porConta = calloc((size_t)maxConta + 1, sizeof(TMapa*));
  TMapa* mapas = calloc((size_t)maxConta + 1, sizeof(TMapa));
  int nMapas = 0;
  st = Preparar(db,
      "select TP.CONTATCE, TP.CLASSIFCONTA, TP.TIPOCONTA, T.TIPONATURSALDO, case when T.TIPOSUPERAVITFINANC <> 'N' then "
      "T.TIPOSUPERAVITFINANC end, coalesce(T.DESCRDETALHCONTA, TP.DESCRCONTA), T.CONTACTB, TP.NATUREZAINFORMACAO, "
      "TP.INDSUPERAVIT, TP.TIPOCONTROLECONTA, T.IDENTIFIPATQUALITATIVA, P.CLASSIFCONTA, P.DESCRCONTA from "
      "TCEPLANOPLESPEC T join TCEPLANO TP on T.CODIGOSISTEMATCE = TP.CODIGOSISTEMATCE and T.CONTATCE = TP.CONTATCE "
      "join PLANOESPEC P on P.CODIGOEMPRESA = T.CODIGOEMPRESA and P.CONTACTB = T.CONTACTB where T.CODIGOSISTEMATCE = ? "
      "and T.CODIGOEMPRESA = ? and T.DATAINICIOPLANO <= ? and T.DATAFIMPLANO >= ? order by T.CONTATCE, T.CONTACTB");
  sqlite3_bind_int(st, 1, sistema);
  sqlite3_bind_int(st, 2, empresa);
  sqlite3_bind_text(st, 3, fim, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 4, fim, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    long long k = sqlite3_column_int64(st, 6);
    if (k < 0 || k > maxConta) continue;
    TMapa* m = &mapas[nMapas++];
    m->contaTce = sqlite3_column_int64(st, 0);
    m->classifTce = Copia(sqlite3_column_text(st, 1));
    m->tipoTce = sqlite3_column_int(st, 2);
    m->natureza = sqlite3_column_int(st, 3);
    m->superavit = Copia(sqlite3_column_text(st, 4));
    m->descr = Copia(sqlite3_column_text(st, 5));
    m->conta = k;
    m->natInf = Copia(sqlite3_column_text(st, 7));
    m->indSuperavit = Copia(sqlite3_column_text(st, 8));
    m->controle = Copia(sqlite3_column_text(st, 9));
    m->identif = Copia(sqlite3_column_text(st, 10));
    m->classif = Copia(sqlite3_column_text(st, 11));
    m->descrPlano = Copia(sqlite3_column_text(st, 12));
    porConta[k] = m;
  }
  sqlite3_finalize(st);

  st = Preparar(db, "select CONTACTB, sum(case NATUREZASALDO when 1 then VALORSALDO else -VALORSALDO end) from "
                    "IMPLSALDOCTB where CODIGOEMPRESA = ? and DATASALDO <= ? group by CONTACTB");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_text(st, 2, ini, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    long long k = sqlite3_column_int64(st, 0);
    if (k >= 0 && k <= maxConta && porConta[k]) porConta[k]->abertura = Centavos(st, 1);
  }
  sqlite3_finalize(st);

  /* One scan of the period's entries: each side into its account's month. */
  st = Preparar(db, "select DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB from LCTOCTB where CODIGOEMPRESA = ? "
                    "and DATALCTOCTB between ? and ?");
  sqlite3_bind_int(st, 1, empresa);
  sqlite3_bind_text(st, 2, ini, -1, SQLITE_STATIC);
  sqlite3_bind_text(st, 3, fim, -1, SQLITE_STATIC);
  while (sqlite3_step(st) == SQLITE_ROW) {
    const char* d = (const char*)sqlite3_column_text(st, 0);
    int mes = (atoi(d) - ano) * 12 + atoi(d + 5) - mesIni;
    if (mes < 0 || mes >= kMeses) continue;
    long long v = Centavos(st, 3);
    if (sqlite3_column_type(st, 1) != SQLITE_NULL) {
      long long k = sqlite3_column_int64(st, 1);
      if (k >= 0 && k <= maxConta && porConta[k]) porConta[k]->deb[mes] += v;
    }
    if (sqlite3_column_type(st, 2) != SQLITE_NULL) {
      long long k = sqlite3_column_int64(st, 2);
      if (k >= 0 && k <= maxConta && porConta[k]) porConta[k]->cred[mes] += v;
    }
  }
  sqlite3_finalize(st);
  int meses = (atoi(fim) - ano) * 12 + atoi(fim + 5) - mesIni + 1;
  if (meses > kMeses) meses = kMeses;

  TSaida s;
  long long bytes = 0;

  /* PessoaSEICED.txt: the head office. */
  SaidaAbrir(&s, pasta, "PessoaSEICED.txt");
  st = Preparar(db, "SELECT E.TIPOINSCR, E.INSCRFEDERAL, E.NOMEESTABCOMPLETO, TL.DESCRTIPOLOGRAD, E.ENDERECOESTAB, "
                    "E.NUMENDERESTAB, E.BAIRROENDERESTAB, E.CEPENDERESTAB FROM ESTAB E join TIPOLOGRADOURO TL on "
                    "TL.CODIGOTIPOLOGRAD = E.CODIGOTIPOLOGRAD WHERE E.CODIGOEMPRESA = ? AND E.CODIGOESTAB = 1");
  sqlite3_bind_int(st, 1, empresa);
  while (sqlite3_step(st) == SQLITE_ROW) {
    int tipo = sqlite3_column_int(st, 0);
    Inteiro(&s, tipo == 1 ? 2 : tipo == 2 ? 1 : tipo == 3 ? 0 : tipo == 4 ? 98 : tipo);
    char doc[64] = "", cep[32] = "", end[1024] = "";
    const char* t = (const char*)sqlite3_column_text(st, 1);
    for (int n = 0; t && *t; ++t)
      if (*t >= '0' && *t <= '9') doc[n++] = *t, doc[n] = 0;
    Texto(&s, doc, 15);
    Texto(&s, (const char*)sqlite3_column_text(st, 2), 100);
    snprintf(end, sizeof end, "%s %s, Num %s, Bairro %s", sqlite3_column_text(st, 3), sqlite3_column_text(st, 4),
             sqlite3_column_text(st, 5), sqlite3_column_text(st, 6));
    Texto(&s, end, 250);
    t = (const char*)sqlite3_column_text(st, 7);
    for (int n = 0; t && *t; ++t)
      if (*t >= '0' && *t <= '9') cep[n++] = *t, cep[n] = 0;
    Zeros(&s, atoll(cep), 8);
    SaidaFim(&s);
  }
  sqlite3_finalize(st);
  bytes += SaidaFechar(&s);

  /* PlanoContabil.txt: every mapping's court account and, once, each court account above it. */
  TPlano* plano = calloc((size_t)nMapas * 8 + 8, sizeof(TPlano));
  int nPlano = 0;
  for (int i = 0; i < nMapas; ++i) {
    plano[nPlano] = (TPlano){mapas[i].classifTce, nPlano, &mapas[i], mapas[i].descr, mapas[i].natureza};
    nPlano++;
  }
  sqlite3_stmt* tce = Preparar(db, "select DESCRCONTA from TCEPLANO where CODIGOSISTEMATCE = ? and CLASSIFCONTA = ?");
  for (int i = 0; i < nMapas; ++i) {
    char digitos[64] = "";
    const char* c = mapas[i].classifTce;
    int partes = 1;
    for (const char* p = c; *p; ++p) partes += *p == '.';
    for (int k = partes; k >= 1; --k) {
      int n = 0, nivel = 0;
      for (const char* p = c; *p && nivel < k; ++p) {
        if (*p == '.')
          ++nivel;
        else
          digitos[n++] = *p;
      }
      digitos[n] = 0;
      char candidata[64];
      Mascara(digitos, candidata);
      int existe = 0;
      for (int j = 0; j < nPlano && !existe; ++j) existe = strcmp(plano[j].classif, candidata) == 0;
      if (existe) continue;
      sqlite3_bind_int(tce, 1, sistema);
      sqlite3_bind_text(tce, 2, candidata, -1, SQLITE_TRANSIENT);
      if (sqlite3_step(tce) == SQLITE_ROW) {
        plano[nPlano] = (TPlano){strdup(candidata), nPlano, NULL, Copia(sqlite3_column_text(tce, 0)), mapas[i].natureza};
        nPlano++;
      }
      sqlite3_reset(tce);
    }
  }
  sqlite3_finalize(tce);
  qsort(plano, (size_t)nPlano, sizeof *plano, CompararPlano);
  SaidaAbrir(&s, pasta, "PlanoContabil.txt");
  for (int i = 0; i < nPlano; ++i) {
    TPlano* p = &plano[i];
    Inteiro(&s, idPessoa);
    Niveis(&s, p->classif, 12);
    Zeros(&s, ano, 4);
    Texto(&s, p->descr, 250);
    Texto(&s, Letra(p->natureza), 1);
    Texto(&s, p->m && p->m->tipoTce == 2 ? "S" : "N", 1);
    Texto(&s, p->m ? p->m->natInf : "", 1);
    Texto(&s, p->m ? p->m->indSuperavit : "", 1);
    Texto(&s, p->m ? p->m->controle : "", 1);
    SaidaFim(&s);
  }
  bytes += SaidaFechar(&s);

  /* The court balances: per mapping and month, by month and court account. */
  TSaldo* saldos = malloc(sizeof(TSaldo) * (size_t)(nMapas * meses + 1));
  int nSaldos = 0;
  for (int i = 0; i < nMapas; ++i)
    if (mapas[i].tipoTce == 2)
      for (int m = 0; m < meses; ++m) {
        saldos[nSaldos] = (TSaldo){mapas[i].classifTce, nSaldos, m, &mapas[i]};
        nSaldos++;
      }
  qsort(saldos, (size_t)nSaldos, sizeof *saldos, CompararSaldo);

  SaidaAbrir(&s, pasta, "SaldoContabilExercicioAnterior.txt");
  for (int i = 0; i < nSaldos; ++i) {
    TMapa* m = saldos[i].m;
    if (saldos[i].mes != 0 || m->abertura == 0) continue;
    Inteiro(&s, idPessoa);
    Inteiro(&s, 0);
    Niveis(&s, m->classifTce, 8);
    Zeros(&s, ano, 4);
    Texto(&s, m->superavit, 1);
    Texto(&s, Letra(m->natureza), 1);
    Valor(&s, llabs(m->abertura));
    SaidaFim(&s);
  }
  bytes += SaidaFechar(&s);

  SaidaAbrir(&s, pasta, "MovimentoContabilMensal.txt");
  for (int i = 0; i < nSaldos; ++i) {
    TMapa* m = saldos[i].m;
    int mes = saldos[i].mes;
    if (m->deb[mes] == 0 && m->cred[mes] == 0) continue;
    Inteiro(&s, idPessoa);
    Niveis(&s, m->classifTce, 12);
    Zeros(&s, ano + (mesIni - 1 + mes) / 12, 4);
    Zeros(&s, (mesIni - 1 + mes) % 12 + 1, 2);
    Inteiro(&s, 1);
    Texto(&s, m->superavit, 1);
    Texto(&s, m->identif, 2);
    Valor(&s, m->deb[mes]);
    Valor(&s, m->cred[mes]);
    SaidaFim(&s);
  }
  bytes += SaidaFechar(&s);

  /* The company's own chart, by its classification, and its monthly trial balance. */
  TMapa** estatal = malloc(sizeof(TMapa*) * (size_t)(nMapas + 1));
  for (int i = 0; i < nMapas; ++i) estatal[i] = &mapas[i];
  for (int i = 1; i < nMapas; ++i) /* insertion sort, stable: the charts are small */
    for (int j = i; j > 0 && strcmp(estatal[j - 1]->classif, estatal[j]->classif) > 0; --j) {
      TMapa* t = estatal[j];
      estatal[j] = estatal[j - 1];
      estatal[j - 1] = t;
    }
  SaidaAbrir(&s, pasta, "PlanoContabilEstatal.txt");
  for (int i = 0; i < nMapas; ++i) {
    TMapa* m = estatal[i];
    Inteiro(&s, idPessoa);
    Inteiro(&s, SemPontos(m->classif));
    Zeros(&s, ano, 4);
    Texto(&s, m->descrPlano, 250);
    Texto(&s, Letra(m->natureza), 1);
    Texto(&s, m->tipoTce == 1 ? "S" : "N", 1);
    SaidaFim(&s);
  }
  bytes += SaidaFechar(&s);

  SaidaAbrir(&s, pasta, "BalanceteMensalEstatalXPlanoContabil.txt");
  for (int mes = 0; mes < meses; ++mes)
    for (int i = 0; i < nMapas; ++i) {
      TMapa* m = estatal[i];
      if (m->tipoTce != 2 || (m->deb[mes] == 0 && m->cred[mes] == 0)) continue;
      Inteiro(&s, idPessoa);
      Zeros(&s, (mesIni - 1 + mes) % 12 + 1, 2);
      Inteiro(&s, SemPontos(m->classif));
      Niveis(&s, m->classifTce, 12);
      Zeros(&s, ano + (mesIni - 1 + mes) / 12, 4);
      Valor(&s, m->deb[mes]);
      Valor(&s, m->cred[mes]);
      SaidaFim(&s);
    }
  bytes += SaidaFechar(&s);

  /* Bem.txt: the synthetic company has no assets. */
  SaidaAbrir(&s, pasta, "Bem.txt");
  bytes += SaidaFechar(&s);
  /* The ZIP of the seven, in the order the product adds them. */
  char caminho[4096];
  snprintf(caminho, sizeof caminho, "%s/%lld-%02d%04d.zip", pasta, idPessoa, mesIni, ano);
  int erro = 0;
  zip_t* z = zip_open(caminho, ZIP_CREATE | ZIP_TRUNCATE, &erro);
  if (!z) {
    fprintf(stderr, "%s: erro %d do libzip\n", caminho, erro);
    return 1;
  }
  const char* nomes[] = {"PessoaSEICED.txt", "PlanoContabil.txt", "SaldoContabilExercicioAnterior.txt",
                         "MovimentoContabilMensal.txt", "PlanoContabilEstatal.txt",
                         "BalanceteMensalEstatalXPlanoContabil.txt", "Bem.txt"};
  for (size_t i = 0; i < sizeof nomes / sizeof *nomes; ++i) {
    char arquivo[4096];
    snprintf(arquivo, sizeof arquivo, "%s/%s", pasta, nomes[i]);
    zip_file_add(z, nomes[i], zip_source_file(z, arquivo, 0, -1), ZIP_FL_ENC_UTF_8);
  }
  if (zip_close(z) != 0) {
    fprintf(stderr, "%s: %s\n", caminho, zip_strerror(z));
    return 1;
  }
  printf("%lld\n", bytes);
  sqlite3_close(db);
  return 0;
}
