<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>EditorCommands</name>
    <message>
        <source>Нужно выделить две станции!</source>
        <translation>Select two stations!</translation>
    </message>
    <message>
        <source>Выделите хотя бы две точки.</source>
        <translation>Select at least two points.</translation>
    </message>
    <message>
        <source>Выделите две соседние станции сначала.</source>
        <translation>Select two neighbouring stations first.</translation>
    </message>
    <message>
        <source>Выделенные станции - не соседние!</source>
        <translation>The selected stations are not neighbours!</translation>
    </message>
    <message>
        <source>Выделите две станции сначала.</source>
        <translation>Select two stations first.</translation>
    </message>
    <message>
        <source>Выделите две пересадочные станции сначала.</source>
        <translation>Select two transfer stations first.</translation>
    </message>
    <message>
        <source>Выделенные станции - не пересадочные!</source>
        <translation>The selected stations are not transfer stations!</translation>
    </message>
</context>
<context>
    <name>ExportDialog</name>
    <message>
        <source>Не удалось сохранить файл </source>
        <translation>Could not save the file </translation>
    </message>
    <message>
        <source>Экспорт</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>Печать</source>
        <translation>Print</translation>
    </message>
    <message>
        <source>Не удалось напечатать </source>
        <translation>Could not print </translation>
    </message>
</context>
<context>
    <name>varnik::MainForm</name>
    <message>
        <source>Экспорт...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>Не удалось сохранить файл </source>
        <translation>Could not save the file </translation>
    </message>
</context>
<context>
    <name>varnik::TJourneyForm</name>
    <message>
        <source>мин</source>
        <translation>min</translation>
    </message>
    <message>
        <source>с</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Пешком: </source>
        <translation>Walk: </translation>
    </message>
    <message>
        <source> (ожидание %1)</source>
        <translation> (wait %1)</translation>
    </message>
    <message>
        <source>«%1»</source>
        <translation>“%1”</translation>
    </message>
    <message>
        <source>Станция %1 не найдена.</source>
        <translation>Station %1 not found.</translation>
    </message>
    <message>
        <source> Похожие: </source>
        <translation> Similar: </translation>
    </message>
    <message>
        <source>Маршрут</source>
        <translation>Journey</translation>
    </message>
    <message>
        <source>Откуда</source>
        <translation>From</translation>
    </message>
    <message>
        <source>Куда</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Ожидание</source>
        <translation>Waits</translation>
    </message>
    <message>
        <source>Найти</source>
        <translation>Find</translation>
    </message>
    <message>
        <source>не учитывать</source>
        <translation>none</translation>
    </message>
    <message>
        <source>Нет пути из %1 в %2.</source>
        <translation>No journey from %1 to %2.</translation>
    </message>
    <message>
        <source>Всего %1, посадок: %2</source>
        <translation>Total %1, boardings: %2</translation>
    </message>
</context>
<context>
    <name>varnik::TMainForm</name>
    <message>
        <source>Открыть город...</source>
        <translation>Open City...</translation>
    </message>
    <message>
        <source>Схема автоматически...</source>
        <translation>Automatic Layout...</translation>
    </message>
    <message>
        <source>Не все изменения сохранены. Закрыть без сохранения?</source>
        <translation>Not all changes are saved. Close without saving?</translation>
    </message>
    <message>
        <source>Экспорт...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>Печать...</source>
        <translation>Print...</translation>
    </message>
    <message>
        <source>Маршрут...</source>
        <translation>Journey...</translation>
    </message>
    <message>
        <source>Показывать</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Карта</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>Линии</source>
        <translation>Lines</translation>
    </message>
    <message>
        <source>Станции</source>
        <translation>Stations</translation>
    </message>
    <message>
        <source>Названия станций</source>
        <translation>Station names</translation>
    </message>
    <message>
        <source>Границы названий</source>
        <translation>Label bounds</translation>
    </message>
    <message>
        <source>Пересадки</source>
        <translation>Transfers</translation>
    </message>
    <message>
        <source>Доп.точки</source>
        <translation>Nodes</translation>
    </message>
    <message>
        <source>Пути</source>
        <translation>Tracks</translation>
    </message>
    <message>
        <source>Белые линии</source>
        <translation>White lines</translation>
    </message>
    <message>
        <source>Записывать коорд.</source>
        <translation>Record coords</translation>
    </message>
    <message>
        <source>Собрать линию</source>
        <translation>Collect line</translation>
    </message>
    <message>
        <source>/\</source>
        <translation>/\</translation>
    </message>
    <message>
        <source>&lt;</source>
        <translation>&lt;</translation>
    </message>
    <message>
        <source>&gt;</source>
        <translation>&gt;</translation>
    </message>
    <message>
        <source>\/</source>
        <translation>\/</translation>
    </message>
    <message>
        <source>Размер точек</source>
        <translation>Point size</translation>
    </message>
    <message>
        <source>Уменьшить по шрифту</source>
        <translation>Fit labels to font</translation>
    </message>
    <message>
        <source>Выровнять по сетке</source>
        <translation>Snap to grid</translation>
    </message>
    <message>
        <source>Доп.точка</source>
        <translation>Node</translation>
    </message>
    <message>
        <source>Сплайн</source>
        <translation>Spline</translation>
    </message>
    <message>
        <source>Пересадка</source>
        <translation>Transfer</translation>
    </message>
    <message>
        <source>Поиск перес.</source>
        <translation>Find transfer</translation>
    </message>
    <message>
        <source>Выровнять точки</source>
        <translation>Align points</translation>
    </message>
    <message>
        <source>Умножить все на</source>
        <translation>Multiply all by</translation>
    </message>
    <message>
        <source>Копировать в буфер</source>
        <translation>Copy to clipboard</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>Редактор Метро</source>
        <translation>Metro Editor</translation>
    </message>
    <message>
        <source>Загрузка города...</source>
        <translation>Loading the city...</translation>
    </message>
    <message>
        <source>Рисование карты...</source>
        <translation>Drawing the map...</translation>
    </message>
    <message>
        <source>Файл</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Сохранить</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Закрыть</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Правка</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Повторить</source>
        <translation>Redo</translation>
    </message>
</context>
<context>
    <name>varnik::TStationPropertiesForm</name>
    <message>
        <source> Туда </source>
        <translation> Forward </translation>
    </message>
    <message>
        <source> Обратно </source>
        <translation> Backward </translation>
    </message>
    <message>
        <source>Отменить</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Станции</source>
        <translation>Stations</translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
</context>
<context>
    <name>varnik::TCityChooser</name>
    <message>
        <source>Новый город</source>
        <translation>New City</translation>
    </message>
    <message>
        <source>Обзор...</source>
        <translation>Browse...</translation>
    </message>
    <message>
        <source>Папка нового города</source>
        <translation>Folder of the New City</translation>
    </message>
    <message>
        <source>Папка (новая или пустая):</source>
        <translation>Folder (new or empty):</translation>
    </message>
    <message>
        <source>Название города:</source>
        <translation>City name:</translation>
    </message>
    <message>
        <source>Не указана папка нового города.</source>
        <translation>No folder is given for the new city.</translation>
    </message>
    <message>
        <source>Название «%1» нельзя записать в кодировке города (Windows-1251).</source>
        <translation>The name “%1” cannot be written in the city’s code page (Windows-1251).</translation>
    </message>
    <message>
        <source>«%1» — не папка.</source>
        <translation>“%1” is not a folder.</translation>
    </message>
    <message>
        <source>Папка «%1» не пуста: новому городу нужна новая или пустая папка.</source>
        <translation>The folder “%1” is not empty: a new city needs a new or empty folder.</translation>
    </message>
    <message>
        <source>Не удалось создать город: %1</source>
        <translation>Could not create the city: %1</translation>
    </message>
    <message>
        <source>Недавние города:</source>
        <translation>Recent cities:</translation>
    </message>
    <message>
        <source>Открыть</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Выбрать папку...</source>
        <translation>Choose Folder...</translation>
    </message>
    <message>
        <source>Создать город...</source>
        <translation>Create City...</translation>
    </message>
    <message>
        <source>Выход</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Папка города</source>
        <translation>City Folder</translation>
    </message>
    <message>
        <source>В папке «%1» нет города (файла *.cty).</source>
        <translation>The folder “%1” holds no city (no *.cty file).</translation>
    </message>
    <message>
        <source>Нельзя открыть папку «%1».</source>
        <translation>The folder “%1” cannot be opened.</translation>
    </message>
</context>
<context>
    <name>LayoutStep</name>
    <message>
        <source>Построение схемы...</source>
        <translation>Laying out the map...</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>varnik::TNetworkActions</name>
    <message>
        <source>Новая линия...</source>
        <translation>New Line...</translation>
    </message>
    <message>
        <source>Добавлять станции щелчком</source>
        <translation>Add Stations by Clicking</translation>
    </message>
    <message>
        <source>Переименовать станцию...</source>
        <translation>Rename Station...</translation>
    </message>
    <message>
        <source>Удалить станцию</source>
        <translation>Delete Station</translation>
    </message>
    <message>
        <source>Переименовать линию...</source>
        <translation>Rename Line...</translation>
    </message>
    <message>
        <source>Цвет линии...</source>
        <translation>Line Colour...</translation>
    </message>
    <message>
        <source>Удалить линию</source>
        <translation>Delete Line</translation>
    </message>
    <message>
        <source>Добавить пересадку...</source>
        <translation>Add Transfer...</translation>
    </message>
    <message>
        <source>Удалить пересадку</source>
        <translation>Remove Transfer</translation>
    </message>
</context>
</TS>
