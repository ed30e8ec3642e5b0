#include "tools/cli/CliOptions.h"

#include "tools/cli/JournalCommands.h"

namespace cli {
namespace {

std::optional<Command> commandNamed(const QString& name) {
  if (name == QLatin1String("info")) return Command::Info;
  if (name == QLatin1String("names")) return Command::Names;
  if (name == QLatin1String("plan")) return Command::Plan;
  if (name == QLatin1String("rename")) return Command::Rename;
  if (name == QLatin1String("history")) return Command::History;
  if (name == QLatin1String("undo")) return Command::Undo;
  if (name == QLatin1String("recover")) return Command::Recover;
  return std::nullopt;
}

bool isHelp(const QString& arg) {
  return arg == QLatin1String("-h") || arg == QLatin1String("--help") || arg == QLatin1String("help");
}

std::optional<rt::DateValue> timeArgument(const QString& text, QString* error) {
  const std::optional<rt::DateValue> value = rt::readDate(text);
  if (!value || !(*value > 0)) {
    *error = QStringLiteral("« %1 » n'est pas une date et heure (JJ/MM/AAAA HH:MM:SS)").arg(text);
    return std::nullopt;
  }
  return value;
}

// Reads the options and files that follow the command.
bool readRest(const QStringList& args, Options& options, QString* error) {
  bool optionsEnded = false;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (optionsEnded || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
      options.files.append(arg);
    } else if (arg == QLatin1String("--")) {
      optionsEnded = true;
    } else if (options.command == Command::Info) {
      *error = QStringLiteral("la commande info ne prend pas l'option « %1 »").arg(arg);
      return false;
    } else if (arg == QLatin1String("--config")) {
      if (i + 1 >= args.size()) {
        *error = QStringLiteral("--config attend un fichier de paramètres (.tdc)");
        return false;
      }
      options.configFile = args[++i];
    } else if (arg == QLatin1String("--correction")) {
      if (i + 2 >= args.size()) {
        *error = QStringLiteral("--correction attend deux heures : celle de l'appareil et l'heure réelle");
        return false;
      }
      const std::optional<rt::DateValue> camera = timeArgument(args[++i], error);
      if (!camera) return false;
      const std::optional<rt::DateValue> real = timeArgument(args[++i], error);
      if (!real) return false;
      options.correction = true;
      options.cameraTime = *camera;
      options.trueTime = *real;
    } else if (arg == QLatin1String("--file-dates")) {
      options.fileDates = true;
    } else {
      *error = QStringLiteral("option inconnue « %1 »").arg(arg);
      return false;
    }
  }
  if (options.fileDates && !options.correction) {
    *error = QStringLiteral("--file-dates ne s'emploie qu'avec --correction");
    return false;
  }
  if (options.files.isEmpty()) {
    *error = QStringLiteral("aucun fichier indiqué");
    return false;
  }
  return true;
}

}  // namespace

std::optional<Options> parseArguments(const QStringList& args, QString* error) {
  Options options;
  if (args.isEmpty()) {
    *error = QStringLiteral("commande manquante");
    return std::nullopt;
  }
  for (const QString& arg : args) {
    if (arg == QLatin1String("--")) break;
    if (isHelp(arg) && (arg != QLatin1String("help") || &arg == &args.front()))
      return options;  // Command::Help
  }
  const std::optional<Command> command = commandNamed(args.front());
  if (!command) {
    *error = QStringLiteral("commande inconnue « %1 »").arg(args.front());
    return std::nullopt;
  }
  options.command = *command;
  if (isJournalCommand(options.command)) {
    if (!readJournalArguments(args, options, error)) return std::nullopt;
    return options;
  }
  if (!readRest(args, options, error)) return std::nullopt;
  return options;
}

QString usageText() {
  return QStringLiteral(
      "Usage : tindra-cli COMMANDE [OPTIONS] FICHIER...\n"
      "\n"
      "Renomme des photos d'après la date et l'heure de leur prise de vue.\n"
      "\n"
      "Commandes :\n"
      "  info FICHIER...     une ligne par fichier : chemin, date de prise de vue, date de\n"
      "                      modification EXIF, date du fichier, largeur, hauteur, bits par\n"
      "                      composante, nombre de composantes, message de lecture\n"
      "  names FICHIER...    une ligne par fichier : chemin, clé de date (AAAAMMJJHHMMSS),\n"
      "                      nom futur tel que la fenêtre principale l'affiche\n"
      "  plan FICHIER...     dans l'ordre de la liste (par date) : ancien chemin et nouveau\n"
      "                      nom, sans toucher à aucun fichier ; sous chaque photo, les\n"
      "                      autres fichiers de la même prise (RAW, Live Photo, .xmp...)\n"
      "  rename FICHIER...   renomme les fichiers et affiche les mêmes lignes que plan\n"
      "  history             les derniers renommages : numéro, date, dossiers, nombre de\n"
      "                      fichiers, issue\n"
      "  undo [N]            rend leurs anciens noms aux fichiers du dernier renommage (du\n"
      "                      N-ième dernier) ; affiche ancien et nouveau chemin de chacun\n"
      "  recover --restore   rend leurs anciens noms aux fichiers d'un renommage interrompu\n"
      "  recover --finish    achève un renommage interrompu\n"
      "\n"
      "Options de names, plan et rename :\n"
      "  --config FICHIER.tdc\n"
      "        paramètres de renommage lus dans ce fichier (sinon les paramètres par défaut)\n"
      "  --correction HEURE_APPAREIL HEURE_REELLE\n"
      "        corrige l'horloge de l'appareil : l'heure d'une photo telle que l'appareil l'a\n"
      "        écrite, puis l'heure qu'elle devrait avoir, au format JJ/MM/AAAA HH:MM:SS\n"
      "  --file-dates\n"
      "        applique aussi la correction à la date fichier des photos sans date EXIF\n"
      "  -h, --help\n"
      "        affiche cette aide\n"
      "\n"
      "Les champs d'une ligne sont séparés par une tabulation ; les dates s'écrivent\n"
      "AAAA-MM-JJ HH:MM:SS et restent vides quand elles manquent. Une photo sans date EXIF,\n"
      "avec le réglage « Demander le nom », fait demander sa date dans le terminal ; hors\n"
      "d'un terminal, elle garde son nom. Aucun fichier n'est jamais écrasé.\n"
      "\n"
      "Code de sortie : 0 quand tout s'est bien passé, 1 quand un fichier n'a pu être\n"
      "traité, 2 pour une ligne de commande ou un fichier de paramètres incorrects, 3 quand\n"
      "la bibliothèque OrvoLib22 ne peut pas être utilisée (rien n'est fait).\n");
}

}  // namespace cli
