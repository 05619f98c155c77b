// The module library UlmoPk: the court settings registers and the rights hook. It exports
// nothing; each of its units registers its classes in its own initialization.
