<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ru_RU">
<context>
    <name>ActionsPage</name>
    <message>
        <source>Действия на номер</source>
        <translation>Actions by caller</translation>
    </message>
    <message>
        <source>&amp;Нормальный:</source>
        <translation>&amp;Normal:</translation>
    </message>
    <message>
        <source>[нет]</source>
        <translation>[none]</translation>
    </message>
    <message>
        <source>Сообщение</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Игнорировать</source>
        <translation>Ignore</translation>
    </message>
    <message>
        <source>Бросить трубу</source>
        <translation>Hang up</translation>
    </message>
    <message>
        <source>Звук:</source>
        <translation>Sound:</translation>
    </message>
    <message>
        <source>П&amp;лохой:</source>
        <translation>&amp;Unwanted:</translation>
    </message>
    <message>
        <source>П&amp;риоритетный:</source>
        <translation>&amp;Priority:</translation>
    </message>
    <message>
        <source>Напоминание</source>
        <translation>Reminder</translation>
    </message>
    <message>
        <source>&amp;Играть файл когда событие:</source>
        <translation>P&amp;lay file for the event:</translation>
    </message>
</context>
<context>
    <name>AddressBookPage</name>
    <message>
        <source>Адресная книга CardDAV</source>
        <translation>CardDAV address book</translation>
    </message>
    <message>
        <source>&amp;Адрес (URL):</source>
        <translation>&amp;Address (URL):</translation>
    </message>
    <message>
        <source>https://сервер/dav/</source>
        <translation>https://server/dav/</translation>
    </message>
    <message>
        <source>Адрес адресной книги или только сервера: тогда книга будет найдена. Пусто — без синхронизации.</source>
        <translation>The address of the address book, or only of the server: the book is then found. Empty: no sync.</translation>
    </message>
    <message>
        <source>&amp;Пользователь:</source>
        <translation>&amp;User:</translation>
    </message>
    <message>
        <source>Па&amp;роль:</source>
        <translation>Pass&amp;word:</translation>
    </message>
    <message>
        <source>хранится в связке ключей</source>
        <translation>kept in the keyring</translation>
    </message>
    <message>
        <source>Новый пароль сохраняется в связке ключей рабочего стола, не в файле настроек. Пусто — прежний.</source>
        <translation>A new password is kept in the desktop keyring, not in the settings file. Empty: the one set before.</translation>
    </message>
    <message>
        <source>&amp;Файл пароля:</source>
        <translation>Password &amp;file:</translation>
    </message>
    <message>
        <source>Первая строка файла — пароль; файл должен быть доступен только вам. Заменяет связку ключей.</source>
        <translation>The first line of the file is the password; only you may read the file. Used instead of the keyring.</translation>
    </message>
    <message>
        <source>&amp;Группа:</source>
        <translation>&amp;Group:</translation>
    </message>
    <message>
        <source>[Все группы]</source>
        <translation>[All groups]</translation>
    </message>
    <message>
        <source>Синхронизируется только эта группа книжки. Пусто — вся книжка.</source>
        <translation>Only this group of the phone book is synced. Empty: the whole book.</translation>
    </message>
    <message>
        <source>Синхронизировать &amp;каждые:</source>
        <translation>Sync &amp;every:</translation>
    </message>
    <message>
        <source> мин</source>
        <translation> min</translation>
    </message>
    <message>
        <source>вручную</source>
        <translation>by hand</translation>
    </message>
    <message>
        <source>Разрешить &amp;http без шифрования</source>
        <translation>Allow unencrypted &amp;http</translation>
    </message>
    <message>
        <source>Про&amp;верить</source>
        <translation>&amp;Check</translation>
    </message>
</context>
<context>
    <name>CallActionEditor</name>
    <message>
        <source>Действие при звонке</source>
        <translation>Call Action</translation>
    </message>
    <message>
        <source>&amp;Событие:</source>
        <translation>&amp;Event:</translation>
    </message>
    <message>
        <source>&amp;Действие:</source>
        <translation>&amp;Action:</translation>
    </message>
    <message>
        <source>&amp;Адрес:</source>
        <translation>A&amp;ddress:</translation>
    </message>
    <message>
        <source>&amp;Программа:</source>
        <translation>&amp;Program:</translation>
    </message>
    <message>
        <source>А&amp;ргументы:</source>
        <translation>A&amp;rguments:</translation>
    </message>
    <message>
        <source>По одному аргументу в строке. Пробелы и кавычки остаются частью аргумента.</source>
        <translation>One argument per line. Blanks and quotes stay part of the argument.</translation>
    </message>
    <message>
        <source>Подстановки: {number} {digits} {name} {group}
{status} {line} {category} {district} {date} {time}</source>
        <translation>Placeholders: {number} {digits} {name} {group}
{status} {line} {category} {district} {date} {time}</translation>
    </message>
    <message>
        <source>&amp;Вставить</source>
        <translation>&amp;Insert</translation>
    </message>
    <message>
        <source>Вставить подстановку в адрес, текст или аргументы</source>
        <translation>Insert a placeholder into the address, the text or the arguments</translation>
    </message>
    <message>
        <source>Для кого (ничего не отмечено — для всех)</source>
        <translation>For which callers (none checked: every caller)</translation>
    </message>
    <message>
        <source>&amp;нормальный</source>
        <translation>&amp;normal</translation>
    </message>
    <message>
        <source>п&amp;лохой</source>
        <translation>&amp;unwanted</translation>
    </message>
    <message>
        <source>при&amp;оритетный</source>
        <translation>priorit&amp;y</translation>
    </message>
    <message>
        <source>&amp;Группа:</source>
        <translation>&amp;Group:</translation>
    </message>
    <message>
        <source>все группы</source>
        <translation>all groups</translation>
    </message>
    <message>
        <source>В&amp;ключено</source>
        <translation>Ena&amp;bled</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>CallActionsPage</name>
    <message>
        <source>Что ещё сделать при звонке: открыть адрес, запустить программу или произнести текст. Отметка слева включает действие.</source>
        <translation>What else to do on a call: open an address, run a program or say a text. The check box on the left turns an action on.</translation>
    </message>
    <message>
        <source>Вкл.</source>
        <translation>On</translation>
    </message>
    <message>
        <source>Событие</source>
        <translation>Event</translation>
    </message>
    <message>
        <source>Что сделать</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Для кого</source>
        <translation>Callers</translation>
    </message>
    <message>
        <source>&amp;Добавить...</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>&amp;Изменить...</source>
        <translation>&amp;Edit...</translation>
    </message>
    <message>
        <source>&amp;Удалить</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>Вы&amp;ше</source>
        <translation>Move &amp;Up</translation>
    </message>
    <message>
        <source>Ни&amp;же</source>
        <translation>Move Do&amp;wn</translation>
    </message>
</context>
<context>
    <name>CallHistory</name>
    <message>
        <source>Ошибка записи CSV: %1</source>
        <translation>Error writing the CSV file: %1</translation>
    </message>
</context>
<context>
    <name>FontPage</name>
    <message>
        <source>Шрифт</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>&amp;Номер:</source>
        <translation>&amp;Number:</translation>
    </message>
    <message>
        <source>Размер:</source>
        <translation>Size:</translation>
    </message>
    <message>
        <source>Цвет:</source>
        <translation>Color:</translation>
    </message>
    <message>
        <source>&amp;Счетчик:</source>
        <translation>&amp;Counter:</translation>
    </message>
    <message>
        <source>С&amp;остояние:</source>
        <translation>S&amp;tatus:</translation>
    </message>
    <message>
        <source>Цвет &amp;фона:</source>
        <translation>&amp;Background color:</translation>
    </message>
    <message>
        <source>Цвет неа&amp;ктивности:</source>
        <translation>&amp;Inactive color:</translation>
    </message>
</context>
<context>
    <name>GeneralPage</name>
    <message>
        <source>Отображение окна</source>
        <translation>Window</translation>
    </message>
    <message>
        <source>Поверх других &amp;окон</source>
        <translation>Stay on top of other &amp;windows</translation>
    </message>
    <message>
        <source>&amp;Свернуть при запуске</source>
        <translation>&amp;Minimize at start</translation>
    </message>
    <message>
        <source>&amp;Восстановить на звонок</source>
        <translation>&amp;Restore on a call</translation>
    </message>
    <message>
        <source>&amp;Номер на весь экран</source>
        <translation>Show the number &amp;full screen</translation>
    </message>
    <message>
        <source>Вид номера</source>
        <translation>Number format</translation>
    </message>
    <message>
        <source>&amp;Цифр в номере:</source>
        <translation>&amp;Digits in a number:</translation>
    </message>
    <message>
        <source>Цифр в &amp;группе:</source>
        <translation>Digits per &amp;group:</translation>
    </message>
    <message>
        <source>Двойной щелчок по иконке</source>
        <translation>Double click on the tray icon</translation>
    </message>
    <message>
        <source>Открыть/Закрыть окно</source>
        <translation>Open/close the window</translation>
    </message>
    <message>
        <source>Открыть/закрыть порт</source>
        <translation>Open/close the port</translation>
    </message>
    <message>
        <source>Язык</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Автоматически</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>Применяется при следующем запуске</source>
        <translation>Applied at the next start</translation>
    </message>
    <message>
        <source>&amp;Уведомления:</source>
        <translation>&amp;Notifications:</translation>
    </message>
    <message>
        <source>Всегда</source>
        <translation>Always</translation>
    </message>
    <message>
        <source>Когда окно скрыто</source>
        <translation>When the window is hidden</translation>
    </message>
    <message>
        <source>Никогда</source>
        <translation>Never</translation>
    </message>
    <message>
        <source>Си&amp;мвол разделитель:</source>
        <translation>&amp;Separator character:</translation>
    </message>
</context>
<context>
    <name>ModemPage</name>
    <message>
        <source>Модем</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>&amp;Порт:</source>
        <translation>&amp;Port:</translation>
    </message>
    <message>
        <source>COM1</source>
        <translation>COM1</translation>
    </message>
    <message>
        <source>COM2</source>
        <translation>COM2</translation>
    </message>
    <message>
        <source>COM3</source>
        <translation>COM3</translation>
    </message>
    <message>
        <source>COM4</source>
        <translation>COM4</translation>
    </message>
    <message>
        <source>Нет модема</source>
        <translation>No modem</translation>
    </message>
    <message>
        <source>Устройство, которое открывает этот порт; можно выбрать из списка или вписать путь</source>
        <translation>The device this port opens; choose it from the list or type a path</translation>
    </message>
    <message>
        <source>Без линий модема (виртуальное устройство)</source>
        <translation>No modem control lines (virtual device)</translation>
    </message>
    <message>
        <source>&amp;Скорость:</source>
        <translation>&amp;Speed:</translation>
    </message>
    <message>
        <source>110</source>
        <translation>110</translation>
    </message>
    <message>
        <source>300</source>
        <translation>300</translation>
    </message>
    <message>
        <source>600</source>
        <translation>600</translation>
    </message>
    <message>
        <source>1200</source>
        <translation>1200</translation>
    </message>
    <message>
        <source>2400</source>
        <translation>2400</translation>
    </message>
    <message>
        <source>4800</source>
        <translation>4800</translation>
    </message>
    <message>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <source>14400</source>
        <translation>14400</translation>
    </message>
    <message>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <source>56000</source>
        <translation>56000</translation>
    </message>
    <message>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <source>115200</source>
        <translation>115200</translation>
    </message>
    <message>
        <source>128000</source>
        <translation>128000</translation>
    </message>
    <message>
        <source>256000</source>
        <translation>256000</translation>
    </message>
    <message>
        <source>&amp;Звонков:</source>
        <translation>&amp;Rings:</translation>
    </message>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message>
        <source>5</source>
        <translation>5</translation>
    </message>
    <message>
        <source>Набор номера</source>
        <translation>Dialing</translation>
    </message>
    <message>
        <source>Импульсный</source>
        <translation>Pulse</translation>
    </message>
    <message>
        <source>Тональный</source>
        <translation>Tone</translation>
    </message>
    <message>
        <source>Строки</source>
        <translation>Strings</translation>
    </message>
    <message>
        <source>&amp;Инициализация:</source>
        <translation>&amp;Initialization:</translation>
    </message>
    <message>
        <source>Zrk:</source>
        <translation>Zrk:</translation>
    </message>
    <message>
        <source>Снять &amp;трубку:</source>
        <translation>&amp;Answer:</translation>
    </message>
    <message>
        <source>CallerID:</source>
        <translation>CallerID:</translation>
    </message>
</context>
<context>
    <name>NetworkPage</name>
    <message>
        <source>Сервер NCID</source>
        <translation>NCID server</translation>
    </message>
    <message>
        <source>&amp;Адрес:</source>
        <translation>&amp;Address:</translation>
    </message>
    <message>
        <source>сервер:3333 (пусто — выключено)</source>
        <translation>server:3333 (empty: off)</translation>
    </message>
    <message>
        <source>Имя или адрес сервера NCID и, через двоеточие, порт (по умолчанию 3333). Пусто — без сети.</source>
        <translation>Name or address of the NCID server and, after a colon, the port (3333 by default). Empty: no network.</translation>
    </message>
    <message>
        <source>&amp;Отправлять звонки на сервер</source>
        <translation>&amp;Send calls to the server</translation>
    </message>
    <message>
        <source>&amp;Принимать звонки с сервера</source>
        <translation>&amp;Receive calls from the server</translation>
    </message>
    <message>
        <source>&amp;Метка линии:</source>
        <translation>&amp;Line label:</translation>
    </message>
    <message>
        <source>Состояние</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Так линия названа у клиентов NCID, одним словом: пробелы, точки и звёздочки заменяются на «_»; «-», когда линия одна</source>
        <translation>The name of this line at the NCID clients, as one word: blanks, dots and stars become &quot;_&quot;; &quot;-&quot; when there is one line</translation>
    </message>
</context>
<context>
    <name>Options</name>
    <message>
        <source>Настройка программы</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>RingPage</name>
    <message>
        <source>Звук</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>PC &amp;Speaker</source>
        <translation>PC &amp;speaker</translation>
    </message>
    <message>
        <source>Файл &amp;Wave:</source>
        <translation>&amp;WAV file:</translation>
    </message>
    <message>
        <source>Автодозвон</source>
        <translation>Automatic redial</translation>
    </message>
    <message>
        <source>&amp;Количество попыток:</source>
        <translation>Number of &amp;tries:</translation>
    </message>
    <message>
        <source>&amp;Повтор через (сек):</source>
        <translation>Retr&amp;y after (sec):</translation>
    </message>
    <message>
        <source>Журнал звонков</source>
        <translation>Call log</translation>
    </message>
    <message>
        <source>Телефонная книга</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>Показывать &amp;всегда</source>
        <translation>Show &amp;always</translation>
    </message>
    <message>
        <source>&amp;Файл:</source>
        <translation>&amp;File:</translation>
    </message>
    <message>
        <source>Файл &amp;журнала:</source>
        <translation>&amp;Log file:</translation>
    </message>
</context>
<context>
    <name>SchedulePage</name>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>&amp;Закрывать порт в указанное время:</source>
        <translation>&amp;Close the port at:</translation>
    </message>
    <message>
        <source>HH:mm</source>
        <translation>HH:mm</translation>
    </message>
    <message>
        <source>&amp;Открывать порт в указанное время:</source>
        <translation>&amp;Open the port at:</translation>
    </message>
    <message>
        <source>Звуки</source>
        <translation>Sounds</translation>
    </message>
    <message>
        <source>Звуки &amp;разрешены начиная с времени:</source>
        <translation>Sounds o&amp;n from:</translation>
    </message>
    <message>
        <source>Звуки за&amp;прещены начиная с времени:</source>
        <translation>Sounds o&amp;ff from:</translation>
    </message>
</context>
<context>
    <name>SubscriberPage</name>
    <message>
        <source>&amp;Категория абонента</source>
        <translation>Caller &amp;category</translation>
    </message>
    <message>
        <source>:1</source>
        <translation>:1</translation>
    </message>
    <message>
        <source>:2</source>
        <translation>:2</translation>
    </message>
    <message>
        <source>:3</source>
        <translation>:3</translation>
    </message>
    <message>
        <source>:4</source>
        <translation>:4</translation>
    </message>
    <message>
        <source>:5</source>
        <translation>:5</translation>
    </message>
    <message>
        <source>:6</source>
        <translation>:6</translation>
    </message>
    <message>
        <source>:7</source>
        <translation>:7</translation>
    </message>
    <message>
        <source>:8</source>
        <translation>:8</translation>
    </message>
    <message>
        <source>:9</source>
        <translation>:9</translation>
    </message>
    <message>
        <source>:0</source>
        <translation>:0</translation>
    </message>
    <message>
        <source>&amp;Район абонента</source>
        <translation>Caller &amp;district</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Район</source>
        <translation>District</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add...</translation>
    </message>
    <message>
        <source>Изменить</source>
        <translation>Edit...</translation>
    </message>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
</context>
<context>
    <name>TBookItem</name>
    <message>
        <source>Добавить запись</source>
        <translation>Add Entry</translation>
    </message>
    <message>
        <source>&amp;Фамилия:</source>
        <translation>&amp;Name:</translation>
    </message>
    <message>
        <source>&amp;Телефон:</source>
        <translation>&amp;Phone:</translation>
    </message>
    <message>
        <source>&amp;Адрес:</source>
        <translation>&amp;Address:</translation>
    </message>
    <message>
        <source>&amp;E-Mail:</source>
        <translation>&amp;Email:</translation>
    </message>
    <message>
        <source>ICQ &amp;UIN:</source>
        <translation>ICQ U&amp;IN:</translation>
    </message>
    <message>
        <source>Home &amp;Page:</source>
        <translation>&amp;Home page:</translation>
    </message>
    <message>
        <source>&amp;Дополнительно:</source>
        <translation>No&amp;tes:</translation>
    </message>
    <message>
        <source>Статус</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>&amp;Обычный</source>
        <translation>N&amp;ormal</translation>
    </message>
    <message>
        <source>&amp;Плохой</source>
        <translation>&amp;Unwanted</translation>
    </message>
    <message>
        <source>П&amp;риоритетный</source>
        <translation>P&amp;riority</translation>
    </message>
    <message>
        <source>&amp;Группа:</source>
        <translation>&amp;Group:</translation>
    </message>
    <message>
        <source>Создать группу</source>
        <translation>New Group...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Рабо&amp;чий телефон:</source>
        <translation>&amp;Work phone:</translation>
    </message>
</context>
<context>
    <name>TEditNotes</name>
    <message>
        <source>Редактирование</source>
        <translation>Edit Templates</translation>
    </message>
    <message>
        <source>&amp;Напоминание:</source>
        <translation>Te&amp;mplate:</translation>
    </message>
    <message>
        <source>&amp;Заголовок:</source>
        <translation>&amp;Title:</translation>
    </message>
    <message>
        <source>&amp;Текст напоминания:</source>
        <translation>Reminder te&amp;xt:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TGroupItem</name>
    <message>
        <source>Добавить группу</source>
        <translation>Add Group</translation>
    </message>
    <message>
        <source>&amp;Название группы:</source>
        <translation>Group &amp;name:</translation>
    </message>
    <message>
        <source>&amp;Действие:</source>
        <translation>&amp;Action:</translation>
    </message>
    <message>
        <source>[нет]</source>
        <translation>[none]</translation>
    </message>
    <message>
        <source>Сообщение</source>
        <translation>Message</translation>
    </message>
    <message>
        <source>Игнорировать</source>
        <translation>Ignore</translation>
    </message>
    <message>
        <source>Положить трубку</source>
        <translation>Hang up</translation>
    </message>
    <message>
        <source>&amp;Звук:</source>
        <translation>&amp;Sound:</translation>
    </message>
    <message>
        <source>Выбрать файл</source>
        <translation>Choose a file</translation>
    </message>
    <message>
        <source>...</source>
        <translation>...</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>TItemInfo</name>
    <message>
        <source>Полная информация</source>
        <translation>Full Information</translation>
    </message>
    <message>
        <source>ФИО:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Телефон:</source>
        <translation>Phone:</translation>
    </message>
    <message>
        <source>Рабочий:</source>
        <translation>Work:</translation>
    </message>
    <message>
        <source>Адрес:</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>E-Mail:</source>
        <translation>Email:</translation>
    </message>
    <message>
        <source>ICQ UIN:</source>
        <translation>ICQ UIN:</translation>
    </message>
    <message>
        <source>Home Page:</source>
        <translation>Home page:</translation>
    </message>
    <message>
        <source>Доп. инфа:</source>
        <translation>Notes:</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>TReMind</name>
    <message>
        <source>Новое напоминание</source>
        <translation>New Reminder</translation>
    </message>
    <message>
        <source>&amp;Дата/Время</source>
        <translation>&amp;Date/time</translation>
    </message>
    <message>
        <source>&amp;Телефон</source>
        <translation>&amp;Phone</translation>
    </message>
    <message>
        <source>&amp;Номер:</source>
        <translation>&amp;Number:</translation>
    </message>
    <message>
        <source>Текст напоминания</source>
        <translation>Reminder text</translation>
    </message>
    <message>
        <source>Стандартные напоминания</source>
        <translation>Templates</translation>
    </message>
    <message>
        <source>Очистить</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>Zrk Pro уже работает с этим каталогом данных: его окно выведено вперёд.</source>
        <translation>Zrk Pro is already running with this data directory: its window has been brought to the front.</translation>
    </message>
    <message>
        <source>Zrk Pro уже запускается с этим каталогом данных: его окно будет выведено вперёд, как только он запустится.</source>
        <translation>Zrk Pro is already starting with this data directory: its window will be brought to the front as soon as it has started.</translation>
    </message>
    <message>
        <source>Zrk Pro уже работает с этим каталогом данных.</source>
        <translation>Zrk Pro is already running with this data directory.</translation>
    </message>
    <message>
        <source>Каталог данных %1 обслуживает сервер линии zrk-line: модем, телефонная книга и журнал звонков у него. Zrk Pro может показывать его звонки как клиент NCID, без модема, с каталогом данных %2.</source>
        <translation>The data directory %1 is served by the line server zrk-line: it holds the modem, the phone book and the call log. Zrk Pro can show its calls as an NCID client, without a modem, with the data directory %2.</translation>
    </message>
    <message>
        <source>Запустить Zrk Pro клиентом NCID?</source>
        <translation>Start Zrk Pro as an NCID client?</translation>
    </message>
</context>
<context>
    <name>zrk::ActionsPage</name>
    <message>
        <source>Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*</source>
        <translation>WAV files (*.wav)|*.wav|All files (*.*)|*.*</translation>
    </message>
</context>
<context>
    <name>zrk::AddressBookPage</name>
    <message>
        <source>Все файлы (*)|*</source>
        <translation>All files (*)|*</translation>
    </message>
    <message>
        <source>Файл пароля не принят: %1</source>
        <translation>The password file was not taken: %1</translation>
    </message>
    <message>
        <source>Пароль адресной книги не сохранён в связке ключей: %1</source>
        <translation>The address book password was not saved in the keyring: %1</translation>
    </message>
    <message>
        <source>Проверка…</source>
        <translation>Checking…</translation>
    </message>
    <message>
        <source>Найдена адресная книга «%1»: карточек %2</source>
        <translation>Found the address book “%1”: %2 cards</translation>
    </message>
</context>
<context>
    <name>zrk::BookModel</name>
    <message>
        <source>Фамилия</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Телефон</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Рабочий</source>
        <translation>Work</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>E-Mail</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>ICQ UIN</source>
        <translation>ICQ UIN</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Home Page</translation>
    </message>
    <message>
        <source>Дополнительно</source>
        <translation>Notes</translation>
    </message>
</context>
<context>
    <name>zrk::BookStore</name>
    <message>
        <source>Ошибка создания %1!</source>
        <translation>Error creating %1!</translation>
    </message>
    <message>
        <source>Ошибка записи %1!</source>
        <translation>Error writing %1!</translation>
    </message>
    <message>
        <source>Общая</source>
        <translation>General</translation>
    </message>
    <message>
        <source>[Общая]</source>
        <translation>[General]</translation>
    </message>
    <message>
        <source>Файл %1 повреждён и отложен как %2: записи книги получат новые метки, синхронизация сопоставит их по номерам.</source>
        <translation>The file %1 is damaged and was put aside as %2: the book&apos;s entries get new identities, and the sync matches them by their numbers.</translation>
    </message>
</context>
<context>
    <name>zrk::CallActionEditor</name>
    <message>
        <source>Звонок</source>
        <translation>Ring</translation>
    </message>
    <message>
        <source>Абонент определён</source>
        <translation>Caller identified</translation>
    </message>
    <message>
        <source>Снята трубка</source>
        <translation>Answered</translation>
    </message>
    <message>
        <source>Пропущенный звонок</source>
        <translation>Missed call</translation>
    </message>
    <message>
        <source>Открыть адрес</source>
        <translation>Open an address</translation>
    </message>
    <message>
        <source>Запустить программу</source>
        <translation>Run a program</translation>
    </message>
    <message>
        <source>Произнести</source>
        <translation>Say aloud</translation>
    </message>
    <message>
        <source>номер, как он показан</source>
        <translation>the number as shown</translation>
    </message>
    <message>
        <source>только цифры номера</source>
        <translation>the number’s digits only</translation>
    </message>
    <message>
        <source>имя абонента</source>
        <translation>the caller’s name</translation>
    </message>
    <message>
        <source>группа</source>
        <translation>group</translation>
    </message>
    <message>
        <source>статус</source>
        <translation>status</translation>
    </message>
    <message>
        <source>линия</source>
        <translation>line</translation>
    </message>
    <message>
        <source>категория</source>
        <translation>category</translation>
    </message>
    <message>
        <source>район</source>
        <translation>district</translation>
    </message>
    <message>
        <source>дата звонка</source>
        <translation>date of the call</translation>
    </message>
    <message>
        <source>время звонка</source>
        <translation>time of the call</translation>
    </message>
    <message>
        <source>Новое действие при звонке</source>
        <translation>New Call Action</translation>
    </message>
    <message>
        <source>Изменить действие при звонке</source>
        <translation>Edit Call Action</translation>
    </message>
    <message>
        <source>Все файлы (*)|*</source>
        <translation>All files (*)|*</translation>
    </message>
    <message>
        <source>&amp;Адрес:</source>
        <translation>A&amp;ddress:</translation>
    </message>
    <message>
        <source>&amp;Текст:</source>
        <translation>&amp;Text:</translation>
    </message>
    <message>
        <source>&amp;Шаблон:</source>
        <translation>Te&amp;mplate:</translation>
    </message>
    <message>
        <source>Выберите программу, которую нужно запустить.</source>
        <translation>Choose the program to run.</translation>
    </message>
    <message>
        <source>Введите адрес, который нужно открыть.</source>
        <translation>Enter the address to open.</translation>
    </message>
    <message>
        <source>Введите текст, который нужно произнести.</source>
        <translation>Enter the text to say.</translation>
    </message>
    <message>
        <source>При звонке абонент ещё не известен, и действие с отбором не выполнится. Выберите событие «Абонент определён» или снимите отбор.</source>
        <translation>A ring comes before the caller is known, so an action with a filter would never run. Choose the event “Caller identified” or clear the filter.</translation>
    </message>
    <message>
        <source>Неизвестная подстановка %1. Можно: %2.</source>
        <translation>Unknown placeholder %1. Available: %2.</translation>
    </message>
    <message>
        <source>группа «%1»</source>
        <translation>group “%1”</translation>
    </message>
    <message>
        <source>все</source>
        <translation>all</translation>
    </message>
</context>
<context>
    <name>zrk::CallDesk</name>
    <message>
        <source>Ошибка чтения</source>
        <translation>Read error</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>[заблокирован]</source>
        <translation>[blocked]</translation>
    </message>
    <message>
        <source>[пропущен]</source>
        <translation>[missed]</translation>
    </message>
    <message numerus="yes">
        <source>Zrk Pro: очередь звонков для сервера NCID полна, старых звонков не отправлено: %n</source>
        <translation>
            <numerusform>Zrk Pro: the queue of calls for the NCID server is full, %n old call was not sent</numerusform>
            <numerusform>Zrk Pro: the queue of calls for the NCID server is full, %n old calls were not sent</numerusform>
        </translation>
    </message>
    <message>
        <source>выключено</source>
        <translation>off</translation>
    </message>
</context>
<context>
    <name>zrk::CallLog</name>
    <message>
        <source>Ошибка записи %1!</source>
        <translation>Error writing %1!</translation>
    </message>
</context>
<context>
    <name>zrk::CallNotifier</name>
    <message>
        <source>Показать</source>
        <translation>Show</translation>
    </message>
    <message>
        <source>Перезвонить</source>
        <translation>Call Back</translation>
    </message>
    <message>
        <source>В книгу</source>
        <translation>Add to Phone Book</translation>
    </message>
</context>
<context>
    <name>zrk::CallRow</name>
    <message>
        <source>нормальный</source>
        <translation>normal</translation>
    </message>
    <message>
        <source>плохой</source>
        <translation>unwanted</translation>
    </message>
    <message>
        <source>приоритетный</source>
        <translation>priority</translation>
    </message>
    <message>
        <source>Пропущенный звонок</source>
        <translation>Missed call</translation>
    </message>
</context>
<context>
    <name>zrk::ColorBox</name>
    <message>
        <source>Черный</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>Темно-красный</source>
        <translation>Maroon</translation>
    </message>
    <message>
        <source>Зеленый</source>
        <translation>Green</translation>
    </message>
    <message>
        <source>Оливковый</source>
        <translation>Olive</translation>
    </message>
    <message>
        <source>Темно-синий</source>
        <translation>Navy</translation>
    </message>
    <message>
        <source>Фиолетовый</source>
        <translation>Purple</translation>
    </message>
    <message>
        <source>Сине-зеленый</source>
        <translation>Teal</translation>
    </message>
    <message>
        <source>Серый</source>
        <translation>Gray</translation>
    </message>
    <message>
        <source>Серебристый</source>
        <translation>Silver</translation>
    </message>
    <message>
        <source>Красный</source>
        <translation>Red</translation>
    </message>
    <message>
        <source>Салатовый</source>
        <translation>Lime</translation>
    </message>
    <message>
        <source>Желтый</source>
        <translation>Yellow</translation>
    </message>
    <message>
        <source>Синий</source>
        <translation>Blue</translation>
    </message>
    <message>
        <source>Малиновый</source>
        <translation>Fuchsia</translation>
    </message>
    <message>
        <source>Голубой</source>
        <translation>Aqua</translation>
    </message>
    <message>
        <source>Белый</source>
        <translation>White</translation>
    </message>
    <message>
        <source>Цвет</source>
        <translation>Color</translation>
    </message>
    <message>
        <source>Другой цвет...</source>
        <translation>Other color...</translation>
    </message>
</context>
<context>
    <name>zrk::Console</name>
    <message>
        <source>Файлы book.phn и reminder.rmd из Windows переносить не нужно: их формат тот же, достаточно скопировать их в каталог данных.</source>
        <translation>The book.phn and reminder.rmd files from Windows need no conversion: their format is the same, just copy them into the data directory.</translation>
    </message>
    <message>
        <source>Формат файла %1 не понятен по расширению: нужно .vcf или .csv.</source>
        <translation>Cannot tell the format of %1 from its extension: use .vcf or .csv.</translation>
    </message>
    <message>
        <source>Не удалось записать %1: %2</source>
        <translation>Could not write %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>Записей выгружено: %n (%1).</source>
        <translation>
            <numerusform>%n entry exported (%1).</numerusform>
            <numerusform>%n entries exported (%1).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Пропущено повреждённых карточек: %n (первая — %1)</source>
        <translation>
            <numerusform>%n damaged card skipped (%1)</numerusform>
            <numerusform>%n damaged cards skipped (the first: %1)</numerusform>
        </translation>
    </message>
    <message>
        <source>Добавлено записей: %1; пропущено (номер уже есть в книге): %2; создано групп: %3.</source>
        <translation>Entries added: %1; skipped (number already in the book): %2; groups created: %3.</translation>
    </message>
    <message>
        <source>После %1 нужно значение.</source>
        <translation>%1 needs a value.</translation>
    </message>
    <message>
        <source>--group бывает только с --import-contacts.</source>
        <translation>--group goes only with --import-contacts.</translation>
    </message>
    <message>
        <source>Zrk Pro работает с каталогом данных %1. Закройте программу и повторите команду.</source>
        <translation>Zrk Pro is running with the data directory %1. Close the program and run the command again.</translation>
    </message>
    <message>
        <source>Без ключей --data-dir и --desktop данные хранятся в текущем каталоге.
</source>
        <translation>Without --data-dir and --desktop the data is kept in the current directory.
</translation>
    </message>
    <message>
        <source>Использование: zrk-pro [--desktop | --data-dir КАТАЛОГ] [--config ФАЙЛ] [--import-reg ФАЙЛ]
  --data-dir КАТАЛОГ  хранить телефонную книгу, напоминания и журнал звонков в КАТАЛОГЕ
  --desktop           хранить их в $XDG_DATA_HOME/zrk-pro (так запускает меню)
  --config ФАЙЛ       файл настроек вместо $XDG_CONFIG_HOME/zrk-pro/registry.reg
  --import-reg ФАЙЛ   перенести настройки из экспорта реестра Windows и выйти
</source>
        <translation>Usage: zrk-pro [--desktop | --data-dir DIR] [--config FILE] [--import-reg FILE]
  --data-dir DIR      keep the phone book, reminders and call log in DIR
  --desktop           keep them in $XDG_DATA_HOME/zrk-pro (as the menu starts it)
  --config FILE       the settings file instead of $XDG_CONFIG_HOME/zrk-pro/registry.reg
  --import-reg FILE   take the settings over from a Windows registry export and exit
</translation>
    </message>
    <message>
        <source>--import-contacts, --export-contacts и --sync-contacts вместе не бывают.</source>
        <translation>--import-contacts, --export-contacts and --sync-contacts cannot be used together.</translation>
    </message>
    <message>
        <source>  --import-contacts ФАЙЛ [--group ГРУППА]
                      добавить в телефонную книгу контакты из ФАЙЛА .vcf или .csv
                      (записи с номерами, которые уже есть в книге, пропускаются)
  --export-contacts ФАЙЛ
                      записать всю телефонную книгу в ФАЙЛ .vcf (vCard) или .csv
  --sync-contacts     синхронизировать телефонную книгу с адресной книгой CardDAV
                      из настроек и выйти
Коды выхода этих команд: 0 — сделано (что пропущено, сказано в выводе); 1 — файл
или книгу не удалось прочитать или записать (файл не vCard и не таблица CSV), или
сервер адресной книги недоступен; 2 — ошибка в командной строке; 3 — с каталогом
данных работает программа.
</source>
        <translation>  --import-contacts FILE [--group GROUP]
                      add the contacts of FILE (.vcf or .csv) to the phone book
                      (entries whose numbers are in the book already are skipped)
  --export-contacts FILE
                      write the whole phone book to FILE (.vcf for vCard, or .csv)
  --sync-contacts     sync the phone book with the CardDAV address book of the
                      settings and exit
Exit codes of these commands: 0 done (what was left out is said in the output); 1 the
file or the book could not be read or written (the file is neither vCard nor a CSV
table), or the address book&apos;s server is unavailable; 2 a wrong command line; 3 a
program works with the data directory.
</translation>
    </message>
</context>
<context>
    <name>zrk::ContactSync</name>
    <message>
        <source>Адресная книга не синхронизирована: %1</source>
        <translation>The address book was not synced: %1</translation>
    </message>
    <message>
        <source>Не удалось записать %1: %2</source>
        <translation>Cannot write %1: %2</translation>
    </message>
    <message>
        <source>Адресная книга синхронизирована: получено %1, отправлено %2</source>
        <translation>Address book synced: %1 received, %2 sent</translation>
    </message>
    <message numerus="yes">
        <source>изменены и здесь, и на сервере: %n (принята версия сервера, версия этого места сохранена в %1)</source>
        <translation>
            <numerusform>changed both here and on the server: %n (the server&apos;s version was taken; this desk&apos;s version is saved in %1)</numerusform>
            <numerusform>changed both here and on the server: %n (the server&apos;s version was taken; this desk&apos;s version is saved in %1)</numerusform>
        </translation>
    </message>
    <message>
        <source>Синхронизация адресной книги…</source>
        <translation>Syncing the address book…</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл пароля %1: %2</source>
        <translation>Cannot read the password file %1: %2</translation>
    </message>
    <message>
        <source>Файл пароля %1 могут читать другие пользователи; он не используется. Сделайте его доступным только владельцу: chmod 600 %1</source>
        <translation>Other users can read the password file %1, so it is not used. Make it readable by its owner only: chmod 600 %1</translation>
    </message>
    <message>
        <source>Адрес сервера адресной книги не задан.</source>
        <translation>No address book server is set.</translation>
    </message>
    <message>
        <source>Пароль адресной книги не найден в связке ключей: %1</source>
        <translation>The address book&apos;s password is not in the keyring: %1</translation>
    </message>
</context>
<context>
    <name>zrk::DataDirectory</name>
    <message>
        <source>Каталог данных %1 не является каталогом.</source>
        <translation>The data directory %1 is not a directory.</translation>
    </message>
    <message>
        <source>Не удалось создать каталог данных %1.</source>
        <translation>Could not create the data directory %1.</translation>
    </message>
    <message>
        <source>Не удалось перейти в каталог данных %1.</source>
        <translation>Could not enter the data directory %1.</translation>
    </message>
    <message>
        <source>--desktop и --data-dir вместе не бывают.</source>
        <translation>--desktop and --data-dir cannot be used together.</translation>
    </message>
</context>
<context>
    <name>zrk::DavClient</name>
    <message>
        <source>Прервано</source>
        <translation>Cancelled</translation>
    </message>
    <message>
        <source>Сервер не дал доступа к %1</source>
        <translation>The server denied access to %1</translation>
    </message>
    <message>
        <source>На сервере нет %1</source>
        <translation>%1 is not on the server</translation>
    </message>
    <message>
        <source>Карточка %1 уже изменена на сервере</source>
        <translation>Card %1 has already been changed on the server</translation>
    </message>
    <message>
        <source>Сервер ответил ошибкой %1 на запрос %2</source>
        <translation>The server answered the request for %2 with error %1</translation>
    </message>
    <message>
        <source>Сервер прислал непонятный ответ на %1: %2</source>
        <translation>The server sent an unreadable answer for %1: %2</translation>
    </message>
    <message>
        <source>Сервер адресной книги не отвечает</source>
        <translation>The address book server does not respond</translation>
    </message>
    <message>
        <source>Защищённое соединение с сервером не установлено: %1</source>
        <translation>No secure connection to the server: %1</translation>
    </message>
    <message>
        <source>Нет связи с сервером адресной книги: %1</source>
        <translation>No connection to the address book server: %1</translation>
    </message>
    <message>
        <source>Адрес %1 не начинается с https://</source>
        <translation>The address %1 does not start with https://</translation>
    </message>
    <message>
        <source>Адрес %1 без шифрования (http): пароль ушёл бы по сети открытым. Укажите адрес https://</source>
        <translation>The address %1 is not encrypted (http): the password would travel in the clear. Enter an https:// address</translation>
    </message>
    <message>
        <source>Сервер перенаправил %1 на %2</source>
        <translation>The server redirected %1 to %2</translation>
    </message>
    <message>
        <source>По адресу %1 нет адресной книги</source>
        <translation>There is no address book at %1</translation>
    </message>
    <message>
        <source>На сервере %1 не найдена адресная книга</source>
        <translation>No address book found on the server %1</translation>
    </message>
    <message>
        <source>Сервер не принял метку синхронизации</source>
        <translation>The server did not accept the sync token</translation>
    </message>
    <message>
        <source>Сервер %1 не принял имя пользователя или пароль</source>
        <translation>The server %1 did not accept the user name or password</translation>
    </message>
</context>
<context>
    <name>zrk::Defaults</name>
    <message>
        <source>[квартира, учреждение]|Абоненты квартирные, учрежденческие, имеющие право междугородной и международной связи на общих основаниях</source>
        <translation>[home, office]|Home and office lines with long-distance and international calls on the usual terms</translation>
    </message>
    <message>
        <source>[гостиница]|Абоненты гостиниц, имеющие право по категории 1, но с немедленной оплатой переговоров</source>
        <translation>[hotel]|Hotel lines: as category 1, but calls are paid for at once</translation>
    </message>
    <message>
        <source>[без межгорода]|Абоненты не имеющие право выхода на междугородные и международные сети</source>
        <translation>[no long distance]|Lines without long-distance or international calls</translation>
    </message>
    <message>
        <source>[приоритетный на межгород]|Абоненты, имеющие преимущество выхода на междугородние и международные сети</source>
        <translation>[long-distance priority]|Lines with priority on long-distance and international networks</translation>
    </message>
    <message>
        <source>[бесплатники]|Абоненты, имеющие право связи без тарификации, то есть переговоры не оплачиваются, но учитываются</source>
        <translation>[free of charge]|Lines whose calls are counted but not charged</translation>
    </message>
    <message>
        <source>[автомат-межгород]|Категория междугородних телефонов-автоматов</source>
        <translation>[long-distance payphone]|Long-distance payphones</translation>
    </message>
    <message>
        <source>[с дополнительными услугами]|Абоненты, имеющие право кроме междугородной/международной связи, получать дополнительные платные услуги</source>
        <translation>[extra services]|Lines with long-distance and international calls and extra paid services</translation>
    </message>
    <message>
        <source>[приоритетный с доп.услугами]|Абоненты, имеющие преимущество при установлении связи в междугородних сетях и право на платные услуги</source>
        <translation>[priority, extra services]|Lines with priority on long-distance networks and extra paid services</translation>
    </message>
    <message>
        <source>[телефон-автомат]|Категория городских телефонов-автоматов</source>
        <translation>[payphone]|Local payphones</translation>
    </message>
    <message>
        <source>[неизвестно]</source>
        <translation>[unknown]</translation>
    </message>
    <message>
        <source>Обед|Сходить на обед</source>
        <translation>Lunch|Go to lunch</translation>
    </message>
    <message>
        <source>Совещание|Бегом к начальнику</source>
        <translation>Meeting|Meeting with the manager</translation>
    </message>
    <message>
        <source>Перезвонить|Перезвонить</source>
        <translation>Call back|Call back</translation>
    </message>
    <message>
        <source>Встретить подругу|Встреча на лавочке</source>
        <translation>Meet a friend|Meet a friend</translation>
    </message>
    <message>
        <source>Пить пиво|Пить пиво с друзьями</source>
        <translation>Evening out|Evening out with friends</translation>
    </message>
    <message>
        <source>Выгулять собаку|Собачка хочет пи-пи :))</source>
        <translation>Walk the dog|Take the dog out</translation>
    </message>
    <message>
        <source>Выключить чайник|У тебя там чайник на плите</source>
        <translation>Kettle|The kettle is on the stove</translation>
    </message>
</context>
<context>
    <name>zrk::DialogLook</name>
    <message>
        <source>Удалить</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zrk::ECommError</name>
    <message>
        <source> (Ошибка: %1) </source>
        <translation> (Error: %1) </translation>
    </message>
</context>
<context>
    <name>zrk::FileNameEdit</name>
    <message>
        <source>Выбрать файл</source>
        <translation>Choose a file</translation>
    </message>
</context>
<context>
    <name>zrk::HistoryChart</name>
    <message>
        <source>Звонков в день</source>
        <translation>Calls per day</translation>
    </message>
    <message>
        <source>Звонков в неделю</source>
        <translation>Calls per week</translation>
    </message>
    <message>
        <source>Звонков в месяц</source>
        <translation>Calls per month</translation>
    </message>
    <message>
        <source>MM.yyyy</source>
        <translation>MMM yyyy</translation>
    </message>
</context>
<context>
    <name>zrk::HistoryLoader</name>
    <message>
        <source>Файл журнала звонков «%1» не найден.</source>
        <translation>The call log file “%1” was not found.</translation>
    </message>
    <message>
        <source>Журнал звонков «%1» записан в UTF-16; читаются журналы в Windows-1251 и UTF-8.</source>
        <translation>The call log “%1” is written in UTF-16; call logs are read in Windows-1251 and UTF-8.</translation>
    </message>
    <message>
        <source>«%1» — не файл журнала звонков.</source>
        <translation>“%1” is not a call log file.</translation>
    </message>
    <message>
        <source>Не удаётся прочитать журнал звонков «%1»: %2.</source>
        <translation>Cannot read the call log “%1”: %2.</translation>
    </message>
</context>
<context>
    <name>zrk::HistoryModel</name>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Имя</source>
        <translation>Name</translation>
    </message>
</context>
<context>
    <name>zrk::HistoryWindow</name>
    <message>
        <source>История звонков</source>
        <translation>Call History</translation>
    </message>
    <message>
        <source>Номер или часть имени</source>
        <translation>Number or part of a name</translation>
    </message>
    <message>
        <source>&amp;Поиск:</source>
        <translation>&amp;Search:</translation>
    </message>
    <message>
        <source>Сегодня</source>
        <translation>Today</translation>
    </message>
    <message>
        <source>7 дней</source>
        <translation>7 days</translation>
    </message>
    <message>
        <source>30 дней</source>
        <translation>30 days</translation>
    </message>
    <message>
        <source>Год</source>
        <translation>Year</translation>
    </message>
    <message>
        <source>Все</source>
        <translation>All</translation>
    </message>
    <message>
        <source>Период</source>
        <translation>Period</translation>
    </message>
    <message>
        <source>&amp;За:</source>
        <translation>&amp;Range:</translation>
    </message>
    <message>
        <source>Звонков за это время нет</source>
        <translation>No calls in this period</translation>
    </message>
    <message>
        <source>Загрузка… %1%</source>
        <translation>Loading… %1%</translation>
    </message>
    <message>
        <source>Звонков: %1</source>
        <translation>Calls: %1</translation>
    </message>
    <message>
        <source>Звонков: %1 из %2</source>
        <translation>Calls: %1 of %2</translation>
    </message>
    <message>
        <source>; пропущено строк: %1</source>
        <translation>; lines skipped: %1</translation>
    </message>
    <message>
        <source>Экспорт в CSV</source>
        <translation>Export to CSV</translation>
    </message>
    <message>
        <source>История звонков.csv</source>
        <translation>Call history.csv</translation>
    </message>
    <message>
        <source>Таблицы CSV (*.csv);;Все файлы (*)</source>
        <translation>CSV tables (*.csv);;All files (*)</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Не удалось записать файл %1:
%2</source>
        <translation>Could not write the file %1:
%2</translation>
    </message>
    <message numerus="yes">
        <source>Больше всего звонков за день: %Ln (%1); в среднем за день: %2</source>
        <translation>
            <numerusform>Busiest day: %1 (%Ln call); average per day: %2</numerusform>
            <numerusform>Busiest day: %1 (%Ln calls); average per day: %2</numerusform>
        </translation>
    </message>
    <message>
        <source>Экспорт в CSV: %1</source>
        <translation>Exporting to CSV: %1</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message numerus="yes">
        <source>Записано в CSV звонков: %Ln</source>
        <translation>
            <numerusform>%Ln call written to CSV</numerusform>
            <numerusform>%Ln calls written to CSV</numerusform>
        </translation>
    </message>
    <message>
        <source>Экспорт отменён; файл %1 не записан</source>
        <translation>Export cancelled; %1 was not written</translation>
    </message>
    <message>
        <source>&amp;Звонить</source>
        <translation>&amp;Call</translation>
    </message>
    <message>
        <source>&amp;Добавить в книгу...</source>
        <translation>Add to Phone &amp;Book...</translation>
    </message>
    <message>
        <source>Добавить в напо&amp;минание...</source>
        <translation>Add Re&amp;minder...</translation>
    </message>
    <message>
        <source>&amp;Экспорт в CSV...</source>
        <translation>&amp;Export to CSV...</translation>
    </message>
</context>
<context>
    <name>zrk::ImportPreview</name>
    <message>
        <source>Ошибка чтения %1!</source>
        <translation>Error reading %1!</translation>
    </message>
    <message>
        <source>Будет добавлено: %1, заменено: %2, пропущено: %3</source>
        <translation>To be added: %1, replaced: %2, skipped: %3</translation>
    </message>
    <message>
        <source>Пропустить</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>Заменить</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>строке %1 файла</source>
        <translation>line %1 of the file</translation>
    </message>
    <message>
        <source>[Общая]</source>
        <translation>[General]</translation>
    </message>
    <message>
        <source>Этот телефон уже есть в книге: %1</source>
        <translation>This number is in the book already: %1</translation>
    </message>
    <message>
        <source>Этот телефон уже есть выше, в %1</source>
        <translation>This number is already above, in %1</translation>
    </message>
    <message>
        <source>Не уместилось и обрезано: %1</source>
        <translation>Too long, cut: %1</translation>
    </message>
    <message>
        <source>Фамилия</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Телефон</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Рабочий</source>
        <translation>Work</translation>
    </message>
    <message>
        <source>Группа</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Строка</source>
        <translation>Line</translation>
    </message>
    <message>
        <source>Уже в книге</source>
        <translation>Existing Entry</translation>
    </message>
    <message>
        <source>Действие</source>
        <translation>Action</translation>
    </message>
    <message>
        <source>Буквы, которых нет в кодировке книги, заменены на &quot;?&quot;: %1</source>
        <translation>Letters the book&apos;s code page lacks were replaced with &quot;?&quot;: %1</translation>
    </message>
</context>
<context>
    <name>zrk::LineCheck</name>
    <message>
        <source>в порядке</source>
        <translation>usable</translation>
    </message>
    <message>
        <source>нет файла: всё по умолчанию, модем Com1</source>
        <translation>no file: all defaults, modem on Com1</translation>
    </message>
    <message>
        <source>нельзя прочитать</source>
        <translation>cannot be read</translation>
    </message>
    <message>
        <source>нельзя писать: %1</source>
        <translation>cannot be written: %1</translation>
    </message>
    <message>
        <source>занят программой %1</source>
        <translation>in use by %1</translation>
    </message>
    <message>
        <source>не адрес: нужно «узел» или «узел:порт»</source>
        <translation>not an address: &quot;host&quot; or &quot;host:port&quot; is needed</translation>
    </message>
    <message>
        <source>не отвечает: %1</source>
        <translation>does not answer: %1</translation>
    </message>
    <message>
        <source>соединяется, но не здоровается как сервер NCID</source>
        <translation>connects, but does not greet as an NCID server does</translation>
    </message>
    <message>
        <source>отвечает не как сервер NCID</source>
        <translation>does not answer as an NCID server does</translation>
    </message>
    <message>
        <source>Файл настроек</source>
        <translation>Settings file</translation>
    </message>
    <message>
        <source>Каталог данных</source>
        <translation>Data directory</translation>
    </message>
    <message>
        <source>Модем</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>не выбран</source>
        <translation>none chosen</translation>
    </message>
    <message>
        <source>линии нет: выберите порт модема</source>
        <translation>no line: choose the modem&apos;s port</translation>
    </message>
    <message>
        <source>Телефонная книга</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>%1, записей %2</source>
        <translation>%1, %2 entries</translation>
    </message>
    <message>
        <source>%1 (нет файла: имён не будет)</source>
        <translation>%1 (no file: there will be no names)</translation>
    </message>
    <message>
        <source>Сервер NCID</source>
        <translation>NCID server</translation>
    </message>
    <message>
        <source>не задан</source>
        <translation>none set</translation>
    </message>
</context>
<context>
    <name>zrk::LineServer</name>
    <message>
        <source>Порт Com%1 открыт.</source>
        <translation>Port Com%1 open.</translation>
    </message>
    <message>
        <source>Порт закрыт.</source>
        <translation>Port closed.</translation>
    </message>
    <message>
        <source>В настройках не выбран модем: линии нет.</source>
        <translation>The settings choose no modem: there is no line.</translation>
    </message>
    <message>
        <source>Звонок.</source>
        <translation>Ring.</translation>
    </message>
    <message>
        <source>Звонит %1</source>
        <translation>Caller: %1</translation>
    </message>
    <message>
        <source>Трубка снята и положена (отбой).</source>
        <translation>Line picked up and hung up (call rejected).</translation>
    </message>
    <message>
        <source>Сообщение о звонке: %1 %2</source>
        <translation>Call message: %1 %2</translation>
    </message>
    <message>
        <source>Сервер NCID: %1</source>
        <translation>NCID server: %1</translation>
    </message>
    <message>
        <source>Ошибка: %1</source>
        <translation>Error: %1</translation>
    </message>
    <message>
        <source>Телефонная книга %1: записей %2.</source>
        <translation>Phone book %1: %2 entries.</translation>
    </message>
    <message>
        <source>Телефонная книга не прочитана: %1</source>
        <translation>The phone book was not read: %1</translation>
    </message>
    <message>
        <source>Настройки прочитаны с ошибкой: %1</source>
        <translation>The settings were read with an error: %1</translation>
    </message>
    <message>
        <source>Настройки: %1</source>
        <translation>Settings: %1</translation>
    </message>
    <message>
        <source>Перечитываю настройки и телефонную книгу.</source>
        <translation>Reading the settings and the phone book again.</translation>
    </message>
    <message>
        <source>Использование: zrk-line [--data-dir КАТАЛОГ] [--config ФАЙЛ] [--check]
  --data-dir КАТАЛОГ  телефонная книга и журнал звонков в КАТАЛОГЕ (иначе в текущем)
  --config ФАЙЛ       файл настроек (иначе $XDG_CONFIG_HOME/zrk-pro/registry.reg)
  --check             сказать, что будет использовано и годится ли, и выйти
SIGHUP перечитывает настройки и телефонную книгу; SIGTERM и SIGINT завершают работу.
</source>
        <translation>Usage: zrk-line [--data-dir DIR] [--config FILE] [--check]
  --data-dir DIR      the phone book and the call log in DIR (else the current directory)
  --config FILE       the settings file (else $XDG_CONFIG_HOME/zrk-pro/registry.reg)
  --check             say what would be used and whether it is usable, and exit
SIGHUP reads the settings and the phone book again; SIGTERM and SIGINT end the server.
</translation>
    </message>
    <message>
        <source>Непонятный ключ: %1</source>
        <translation>Unknown option: %1</translation>
    </message>
    <message>
        <source>Каталог данных %1 занят: в нём работает %2.</source>
        <translation>The data directory %1 is in use: %2 runs on it.</translation>
    </message>
    <message>
        <source>Завершаю работу.</source>
        <translation>Shutting down.</translation>
    </message>
    <message>
        <source>Каталог данных: %1</source>
        <translation>Data directory: %1</translation>
    </message>
</context>
<context>
    <name>zrk::LineStatus</name>
    <message>
        <source>Ожидание звонка</source>
        <translation>Waiting for a call</translation>
    </message>
    <message>
        <source>Набор номера</source>
        <translation>Dialing</translation>
    </message>
    <message>
        <source>Звонок</source>
        <translation>Ringing</translation>
    </message>
    <message>
        <source>Порт закрыт</source>
        <translation>Port closed</translation>
    </message>
    <message>
        <source>Занято</source>
        <translation>Busy</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Нет ответа</source>
        <translation>No answer</translation>
    </message>
    <message>
        <source>Ожидание ответа</source>
        <translation>Waiting for an answer</translation>
    </message>
</context>
<context>
    <name>zrk::ModemPage</name>
    <message>
        <source>Ссылка на %1. </source>
        <translation>Link to %1. </translation>
    </message>
</context>
<context>
    <name>zrk::NcidLink</name>
    <message>
        <source>сервер не принимает соединения</source>
        <translation>the server refuses connections</translation>
    </message>
    <message>
        <source>сервер закрыл соединение</source>
        <translation>the server closed the connection</translation>
    </message>
    <message>
        <source>сервер не найден</source>
        <translation>server not found</translation>
    </message>
    <message>
        <source>сервер не отвечает</source>
        <translation>the server does not answer</translation>
    </message>
    <message>
        <source>сеть недоступна</source>
        <translation>network unreachable</translation>
    </message>
    <message>
        <source>сервер не прислал приветствие</source>
        <translation>the server sent no greeting</translation>
    </message>
    <message>
        <source>сервер не подтвердил звонок</source>
        <translation>the server did not acknowledge a call</translation>
    </message>
    <message>
        <source>Ошибка чтения %1!</source>
        <translation>Error reading %1!</translation>
    </message>
    <message>
        <source>Файл очереди звонков для сервера NCID %1 повреждён. </source>
        <translation>The file of calls waiting for the NCID server, %1, is damaged. </translation>
    </message>
    <message>
        <source>Он сохранён как %1. </source>
        <translation>It was kept as %1. </translation>
    </message>
    <message numerus="yes">
        <source>Прочитано звонков: %n, они будут отправлены.</source>
        <translation>
            <numerusform>%n call was read and will be sent.</numerusform>
            <numerusform>%n calls were read and will be sent.</numerusform>
        </translation>
    </message>
    <message>
        <source>Ошибка записи %1!</source>
        <translation>Error writing %1!</translation>
    </message>
    <message>
        <source>неверный адрес сервера</source>
        <translation>invalid server address</translation>
    </message>
    <message>
        <source>сервер отказал: %1</source>
        <translation>refused by the server: %1</translation>
    </message>
    <message>
        <source>выключено</source>
        <translation>off</translation>
    </message>
    <message>
        <source>подключение...</source>
        <translation>connecting...</translation>
    </message>
    <message>
        <source>подключено</source>
        <translation>connected</translation>
    </message>
    <message>
        <source>нет связи: %1</source>
        <translation>not connected: %1</translation>
    </message>
    <message numerus="yes">
        <source>; очередь была полна, старых звонков не отправлено: %n</source>
        <translation>
            <numerusform>; the queue was full, %n old call was not sent</numerusform>
            <numerusform>; the queue was full, %n old calls were not sent</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zrk::NetworkPage</name>
    <message>
        <source>Неверный адрес: нужно имя или адрес сервера и, через двоеточие, порт</source>
        <translation>Wrong address: the server&apos;s name or address is needed and, after a colon, the port</translation>
    </message>
    <message>
        <source>Клиенты NCID увидят: %1</source>
        <translation>NCID clients will see: %1</translation>
    </message>
</context>
<context>
    <name>zrk::RegImport</name>
    <message>
        <source>файл обрезан (нечётное число байт в UTF-16)</source>
        <translation>the file is cut short (an odd number of bytes in UTF-16)</translation>
    </message>
    <message>
        <source>файл повреждён (неверный UTF-16)</source>
        <translation>the file is damaged (invalid UTF-16)</translation>
    </message>
    <message>
        <source>это не экспорт реестра: нет заголовка &quot;Windows Registry Editor Version 5.00&quot; или &quot;REGEDIT4&quot;</source>
        <translation>this is not a registry export: there is no &quot;Windows Registry Editor Version 5.00&quot; or &quot;REGEDIT4&quot; header</translation>
    </message>
    <message>
        <source>Не удалось открыть %1: %2</source>
        <translation>Could not open %1: %2</translation>
    </message>
    <message>
        <source>Не удалось прочитать %1: %2</source>
        <translation>Could not read %1: %2</translation>
    </message>
    <message>
        <source>%1 повреждён или обрезан (%2); ничего не импортировано.</source>
        <translation>%1 is damaged or cut short (%2); nothing was imported.</translation>
    </message>
    <message>
        <source>%1 содержит чужой раздел [%2\%3]; импортируются только разделы HKEY_CURRENT_USER\Software\Zrk Pro. Ничего не импортировано.</source>
        <translation>%1 holds a key that is not ours, [%2\%3]; only the keys under HKEY_CURRENT_USER\Software\Zrk Pro are imported. Nothing was imported.</translation>
    </message>
    <message>
        <source>%1 не содержит настроек Zrk Pro.</source>
        <translation>%1 holds no Zrk Pro settings.</translation>
    </message>
    <message>
        <source>%1 обрезан (нет пустой строки, которой кончается экспорт); ничего не импортировано.</source>
        <translation>%1 is cut short (the empty line that ends an export is missing); nothing was imported.</translation>
    </message>
    <message>
        <source>%1: значение неверного типа (%2); ничего не импортировано.</source>
        <translation>%1: a value of the wrong type (%2); nothing was imported.</translation>
    </message>
    <message>
        <source>Zrk Pro сейчас работает с файлом настроек %1 и при выходе записал бы свои значения поверх импорта. Закройте программу (пункт меню «Выход») и повторите импорт; ничего не импортировано.</source>
        <translation>Zrk Pro is running with the settings file %1 and would write its own values over the import when it ends. Close the program (menu item “Quit”) and import again; nothing was imported.</translation>
    </message>
    <message>
        <source>Не удалось записать файл настроек %1 (%2); он остался прежним.</source>
        <translation>Could not write the settings file %1 (%2); it was left as it was.</translation>
    </message>
    <message>
        <source>Импортировано из %1: разделов %2, значений %3, в %4.</source>
        <translation>Imported from %1 into %4 (keys: %2, values: %3).</translation>
    </message>
</context>
<context>
    <name>zrk::RegistryFile</name>
    <message>
        <source>строка %1: %2</source>
        <translation>line %1: %2</translation>
    </message>
    <message>
        <source>нет заголовка</source>
        <translation>no header</translation>
    </message>
    <message>
        <source>нет «]» в конце раздела</source>
        <translation>no “]” at the end of the key</translation>
    </message>
    <message>
        <source>значение вне раздела</source>
        <translation>value outside a key</translation>
    </message>
    <message>
        <source>список байтов оборван</source>
        <translation>byte list cut short</translation>
    </message>
    <message>
        <source>неверное имя значения</source>
        <translation>invalid value name</translation>
    </message>
    <message>
        <source>нет «=»</source>
        <translation>no “=”</translation>
    </message>
    <message>
        <source>неверные данные значения</source>
        <translation>invalid value data</translation>
    </message>
    <message>
        <source>текст после значения</source>
        <translation>text after the value</translation>
    </message>
    <message>
        <source>Не удалось прочитать файл настроек %1: %2. Настройки по умолчанию не будут в него записаны.</source>
        <translation>Could not read the settings file %1: %2. The default settings will not be written to it.</translation>
    </message>
    <message>
        <source>Файл настроек %1 повреждён (%2) и сохранён как %3. Используются настройки по умолчанию.</source>
        <translation>The settings file %1 is damaged (%2) and was kept as %3. The default settings are used.</translation>
    </message>
    <message>
        <source>Файл настроек %1 повреждён (%2). Используются настройки по умолчанию; файл не будет перезаписан.</source>
        <translation>The settings file %1 is damaged (%2). The default settings are used; the file will not be written over.</translation>
    </message>
</context>
<context>
    <name>zrk::ReminderModel</name>
    <message>
        <source>Тип</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Дата/Время</source>
        <translation>Date/time</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Текст</source>
        <translation>Text</translation>
    </message>
</context>
<context>
    <name>zrk::ReminderRules</name>
    <message>
        <source>5 мин</source>
        <translation>5 min</translation>
    </message>
    <message>
        <source>10 мин</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>15 мин</source>
        <translation>15 min</translation>
    </message>
    <message>
        <source>20 мин</source>
        <translation>20 min</translation>
    </message>
    <message>
        <source>25 мин</source>
        <translation>25 min</translation>
    </message>
    <message>
        <source>30 мин</source>
        <translation>30 min</translation>
    </message>
    <message>
        <source>35 мин</source>
        <translation>35 min</translation>
    </message>
    <message>
        <source>40 мин</source>
        <translation>40 min</translation>
    </message>
    <message>
        <source>45 мин</source>
        <translation>45 min</translation>
    </message>
    <message>
        <source>50 мин</source>
        <translation>50 min</translation>
    </message>
    <message>
        <source>55 мин</source>
        <translation>55 min</translation>
    </message>
    <message>
        <source>1 час</source>
        <translation>1 hour</translation>
    </message>
    <message>
        <source>2 часа</source>
        <translation>2 hours</translation>
    </message>
    <message>
        <source>3 часа</source>
        <translation>3 hours</translation>
    </message>
    <message>
        <source>4 часа</source>
        <translation>4 hours</translation>
    </message>
    <message>
        <source>5 часов</source>
        <translation>5 hours</translation>
    </message>
    <message>
        <source>6 часов</source>
        <translation>6 hours</translation>
    </message>
    <message>
        <source>7 часов</source>
        <translation>7 hours</translation>
    </message>
    <message>
        <source>8 часов</source>
        <translation>8 hours</translation>
    </message>
    <message>
        <source>1 день</source>
        <translation>1 day</translation>
    </message>
    <message>
        <source>2 дня</source>
        <translation>2 days</translation>
    </message>
    <message>
        <source>3 дня</source>
        <translation>3 days</translation>
    </message>
    <message>
        <source>4 дня</source>
        <translation>4 days</translation>
    </message>
    <message>
        <source>1 неделю</source>
        <translation>1 week</translation>
    </message>
    <message>
        <source>2 недели</source>
        <translation>2 weeks</translation>
    </message>
    <message>
        <source>5 минут</source>
        <translation>5 minutes</translation>
    </message>
    <message>
        <source>10 минут</source>
        <translation>10 minutes</translation>
    </message>
    <message>
        <source>15 минут</source>
        <translation>15 minutes</translation>
    </message>
    <message>
        <source>30 минут</source>
        <translation>30 minutes</translation>
    </message>
    <message>
        <source>Напоминание </source>
        <translation>Reminder </translation>
    </message>
    <message>
        <source>по дате на: </source>
        <translation>by date for: </translation>
    </message>
    <message>
        <source>по номеру: </source>
        <translation>by number: </translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>%1,5 часа</source>
        <translation>%1.5 hours</translation>
    </message>
    <message numerus="yes">
        <source>%n час</source>
        <translation>
            <numerusform>%n hour</numerusform>
            <numerusform>%n hours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n часа</source>
        <translation>
            <numerusform>%n hour</numerusform>
            <numerusform>%n hours</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n часов</source>
        <translation>
            <numerusform>%n hour</numerusform>
            <numerusform>%n hours</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zrk::ReminderStore</name>
    <message>
        <source>Ошибка создания %1!</source>
        <translation>Error creating %1!</translation>
    </message>
    <message>
        <source>Ошибка записи %1!</source>
        <translation>Error writing %1!</translation>
    </message>
</context>
<context>
    <name>zrk::RingPage</name>
    <message>
        <source>Файлы WAV (*.wav)|*.wav|Все файлы (*.*)|*.*</source>
        <translation>WAV files (*.wav)|*.wav|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Текстовые файлы (*.txt)|*.txt|Все файлы (*.*)|*.*</source>
        <translation>Text files (*.txt)|*.txt|All files (*.*)|*.*</translation>
    </message>
    <message>
        <source>Телефоны (*.phn)|*.phn|Все файлы (*.*)|*.*</source>
        <translation>Phone books (*.phn)|*.phn|All files (*.*)|*.*</translation>
    </message>
</context>
<context>
    <name>zrk::SerialPorts</name>
    <message>
        <source>Устройство %1 не найдено. Модем подключен?</source>
        <translation>Device %1 not found. Is the modem connected?</translation>
    </message>
    <message>
        <source>Нет прав на устройство %1. Добавьте себя в группу %2 (sudo adduser $USER %2) и войдите в систему заново.</source>
        <translation>No permission to use device %1. Add yourself to the group %2 (sudo adduser $USER %2) and log in again.</translation>
    </message>
    <message>
        <source>Устройство %1 недоступно: %2</source>
        <translation>Device %1 is not available: %2</translation>
    </message>
</context>
<context>
    <name>zrk::SingleInstance</name>
    <message>
        <source>Нет каталога для блокировки (XDG_RUNTIME_DIR). Второй экземпляр программы с этим каталогом данных не будет замечен.</source>
        <translation>No directory for the lock (XDG_RUNTIME_DIR). A second copy of the program with this data directory will not be noticed.</translation>
    </message>
    <message>
        <source>Не удалось создать %1: %2. Второй экземпляр программы с этим каталогом данных не будет замечен.</source>
        <translation>Could not create %1: %2. A second copy of the program with this data directory will not be noticed.</translation>
    </message>
    <message>
        <source>Не удалось заблокировать %1: %2.</source>
        <translation>Could not lock %1: %2.</translation>
    </message>
</context>
<context>
    <name>zrk::Sound</name>
    <message>
        <source>Модуль звука не загружен, звуков не будет: %1</source>
        <translation>The sound module was not loaded, so there will be no sounds: %1</translation>
    </message>
</context>
<context>
    <name>zrk::Speech</name>
    <message>
        <source>нет синтезатора речи (speech-dispatcher)</source>
        <translation>no speech synthesizer (speech-dispatcher)</translation>
    </message>
</context>
<context>
    <name>zrk::TAlertReminder</name>
    <message>
        <source>Напоминание</source>
        <translation>Reminder</translation>
    </message>
    <message>
        <source>Напомнить через:</source>
        <translation>Remind In</translation>
    </message>
    <message>
        <source>Дальше - %1</source>
        <translation>Next (%1 more)</translation>
    </message>
</context>
<context>
    <name>zrk::TBookItem</name>
    <message>
        <source>[Общая]</source>
        <translation>[General]</translation>
    </message>
    <message>
        <source>Редактировать запись</source>
        <translation>Edit Entry</translation>
    </message>
</context>
<context>
    <name>zrk::TCIDAbout</name>
    <message>
        <source>О программе</source>
        <translation>About Zrk Pro</translation>
    </message>
    <message>
        <source>Zrk Pro %1
© Разработчики Zrk Pro, Москва</source>
        <translation>Zrk Pro %1
© The Zrk Pro developers, Moscow</translation>
    </message>
</context>
<context>
    <name>zrk::TColumnMapping</name>
    <message>
        <source>Столбцы файла</source>
        <translation>File Columns</translation>
    </message>
    <message>
        <source>Заголовок файла незнаком программе. Укажите, что хранится в каждом столбце; телефонов может быть несколько.</source>
        <translation>The program does not know this file&apos;s header. Say what each column holds; there may be several phone columns.</translation>
    </message>
    <message>
        <source>Столбец</source>
        <translation>Column</translation>
    </message>
    <message>
        <source>Первые значения</source>
        <translation>First values</translation>
    </message>
    <message>
        <source>Это</source>
        <translation>Book Field</translation>
    </message>
    <message>
        <source>Укажите хотя бы один столбец с телефоном.</source>
        <translation>Choose at least one column with a phone number.</translation>
    </message>
    <message>
        <source>[не нужен]</source>
        <translation>[not needed]</translation>
    </message>
    <message>
        <source>Имя полностью</source>
        <translation>Full name</translation>
    </message>
    <message>
        <source>Фамилия</source>
        <translation>Last name</translation>
    </message>
    <message>
        <source>Имя</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Телефон</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Рабочий телефон</source>
        <translation>Work phone</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Примечание</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Отчество</source>
        <translation>Middle name</translation>
    </message>
</context>
<context>
    <name>zrk::TCustomComm</name>
    <message>
        <source>Порт уже открыт</source>
        <translation>The port is already open</translation>
    </message>
    <message>
        <source>Ошибка доступа к устройству</source>
        <translation>Cannot open the device</translation>
    </message>
    <message>
        <source>Неправильный определитель устройства</source>
        <translation>Not a serial device</translation>
    </message>
    <message>
        <source>Ошибка обновления CommTimeouts</source>
        <translation>Cannot set the port timeouts</translation>
    </message>
    <message>
        <source>Ошибка инициализации буферов</source>
        <translation>Cannot set the port buffers</translation>
    </message>
    <message>
        <source>Ошибка обновления DataControlBlock</source>
        <translation>Cannot set the port line settings</translation>
    </message>
    <message>
        <source>Ошибка записи</source>
        <translation>Write error</translation>
    </message>
    <message>
        <source>Ошибка чтения</source>
        <translation>Read error</translation>
    </message>
    <message>
        <source>Порт не открыт, чем то занят</source>
        <translation>The port is not open or is busy</translation>
    </message>
    <message>
        <source>EscapeCommFunction недоступна</source>
        <translation>Cannot set the modem control lines</translation>
    </message>
</context>
<context>
    <name>zrk::TGroupItem</name>
    <message>
        <source>Файлы WAV (*.wav);;Все файлы (*.*)</source>
        <translation>WAV files (*.wav);;All files (*.*)</translation>
    </message>
    <message>
        <source>Свойства группы</source>
        <translation>Group Properties</translation>
    </message>
</context>
<context>
    <name>zrk::TImportContacts</name>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Импорт контактов</source>
        <translation>Import Contacts</translation>
    </message>
    <message>
        <source>Файл: %1</source>
        <translation>File: %1</translation>
    </message>
    <message numerus="yes">
        <source> (повреждённых записей пропущено: %n)</source>
        <translation>
            <numerusform> (%n damaged entry skipped)</numerusform>
            <numerusform> (%n damaged entries skipped)</numerusform>
        </translation>
    </message>
    <message>
        <source>&amp;Кодировка:</source>
        <translation>&amp;Encoding:</translation>
    </message>
    <message>
        <source>[Из файла]</source>
        <translation>[From the file]</translation>
    </message>
    <message>
        <source>[Общая]</source>
        <translation>[General]</translation>
    </message>
    <message>
        <source>Группа новых записей: по категориям файла, одна из групп книги или новая (впишите название)</source>
        <translation>The group of the new entries: by the file&apos;s categories, one of the book&apos;s groups, or a new one (type its name)</translation>
    </message>
    <message>
        <source>&amp;Группа:</source>
        <translation>&amp;Group:</translation>
    </message>
    <message>
        <source>Пропустить</source>
        <translation>Skip</translation>
    </message>
    <message>
        <source>Заменить</source>
        <translation>Replace</translation>
    </message>
    <message>
        <source>Добавить</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Что делать с записями, чей телефон уже есть в книге</source>
        <translation>What to do with entries whose number is already in the phone book</translation>
    </message>
    <message>
        <source>&amp;Повторы:</source>
        <translation>&amp;Duplicates:</translation>
    </message>
    <message>
        <source>&amp;Пропустить</source>
        <translation>&amp;Skip</translation>
    </message>
    <message>
        <source>&amp;Заменить</source>
        <translation>&amp;Replace</translation>
    </message>
    <message>
        <source>&amp;Добавить</source>
        <translation>&amp;Add</translation>
    </message>
</context>
<context>
    <name>zrk::TInRaion</name>
    <message>
        <source>Добавить район</source>
        <translation>Add District</translation>
    </message>
    <message>
        <source>Изменить район</source>
        <translation>Edit District</translation>
    </message>
    <message>
        <source>&amp;Маска номера:</source>
        <translation>Number &amp;mask:</translation>
    </message>
    <message>
        <source>&amp;Район:</source>
        <translation>&amp;District:</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zrk::TItemOptions</name>
    <message>
        <source>Настройка списка</source>
        <translation>List Columns</translation>
    </message>
    <message>
        <source>&amp;Список колонок:</source>
        <translation>&amp;Columns:</translation>
    </message>
    <message>
        <source>Фамилия</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Телефон</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Рабочий телефон</source>
        <translation>Work phone</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>E-Mail</source>
        <translation>Email</translation>
    </message>
    <message>
        <source>ICQ UIN</source>
        <translation>ICQ UIN</translation>
    </message>
    <message>
        <source>Home Page</source>
        <translation>Home page</translation>
    </message>
    <message>
        <source>Дополнительно</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Отмена</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>zrk::TListRing</name>
    <message>
        <source>Список звонков</source>
        <translation>Call List</translation>
    </message>
    <message>
        <source>Перезвонить</source>
        <translation>Call back</translation>
    </message>
    <message>
        <source>Удалить из списка</source>
        <translation>Delete from the list</translation>
    </message>
    <message>
        <source>Очистить список</source>
        <translation>Clear the list</translation>
    </message>
    <message>
        <source>Показать файл логов</source>
        <translation>Show the log file</translation>
    </message>
    <message>
        <source>Спрятать список</source>
        <translation>Hide the list</translation>
    </message>
    <message>
        <source>Номер</source>
        <translation>Number</translation>
    </message>
    <message>
        <source>Время</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>Дата</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Статус</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>Фамилия</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Линия</source>
        <translation>Line</translation>
    </message>
    <message numerus="yes">
        <source>Звонков: %n</source>
        <translation>
            <numerusform>Calls: %n</numerusform>
            <numerusform>Calls: %n</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zrk::TOptions</name>
    <message>
        <source>Общие</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Модем</source>
        <translation>Modem</translation>
    </message>
    <message>
        <source>Звонок</source>
        <translation>Ringing</translation>
    </message>
    <message>
        <source>Шрифт</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>Абонент</source>
        <translation>Caller</translation>
    </message>
    <message>
        <source>Действия</source>
        <translation>Actions</translation>
    </message>
    <message>
        <source>Расписание</source>
        <translation>Schedule</translation>
    </message>
    <message>
        <source>Сеть</source>
        <translation>Network</translation>
    </message>
    <message>
        <source>Адресная книга</source>
        <translation>Address Book</translation>
    </message>
    <message>
        <source>Действия при звонке</source>
        <translation>Call Actions</translation>
    </message>
</context>
<context>
    <name>zrk::TPhoneBook</name>
    <message>
        <source>Телефонная книжка</source>
        <translation>Phone Book</translation>
    </message>
    <message>
        <source>Набрать номер</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>Снять трубку</source>
        <translation>Answer</translation>
    </message>
    <message>
        <source>Добавить запись</source>
        <translation>Add Entry</translation>
    </message>
    <message>
        <source>Удалить запись</source>
        <translation>Delete Entry</translation>
    </message>
    <message>
        <source>Редактировать</source>
        <translation>Edit Entry</translation>
    </message>
    <message>
        <source>Полная информация</source>
        <translation>Full Information</translation>
    </message>
    <message>
        <source>Добавить в напоминание</source>
        <translation>Add Reminder</translation>
    </message>
    <message>
        <source>Группа</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Добавить группу</source>
        <translation>Add Group</translation>
    </message>
    <message>
        <source>Удалить группу</source>
        <translation>Delete Group</translation>
    </message>
    <message>
        <source>Свойства группы</source>
        <translation>Group Properties</translation>
    </message>
    <message>
        <source>Импорт...</source>
        <translation>Import...</translation>
    </message>
    <message>
        <source>Экспорт...</source>
        <translation>Export...</translation>
    </message>
    <message>
        <source>Спрятать книжку</source>
        <translation>Hide Phone Book</translation>
    </message>
    <message>
        <source>&amp;Звонить</source>
        <translation>&amp;Call</translation>
    </message>
    <message>
        <source>&amp;Нормальный</source>
        <translation>&amp;Normal</translation>
    </message>
    <message>
        <source>&amp;Плохой</source>
        <translation>&amp;Unwanted</translation>
    </message>
    <message>
        <source>П&amp;риоритетный</source>
        <translation>&amp;Priority</translation>
    </message>
    <message>
        <source>&amp;Добавить...</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>&amp;Удалить</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Переместить в</source>
        <translation>&amp;Move To</translation>
    </message>
    <message>
        <source>&amp;Информация</source>
        <translation>&amp;Information...</translation>
    </message>
    <message>
        <source>&amp;Напоминание...</source>
        <translation>Add &amp;Reminder...</translation>
    </message>
    <message>
        <source>Нас&amp;тройка...</source>
        <translation>Lis&amp;t Columns...</translation>
    </message>
    <message>
        <source>&amp;Свойства...</source>
        <translation>&amp;Properties...</translation>
    </message>
    <message>
        <source>И&amp;мпорт...</source>
        <translation>Imp&amp;ort...</translation>
    </message>
    <message>
        <source>&amp;Экспорт</source>
        <translation>&amp;Export</translation>
    </message>
    <message>
        <source>&amp;Всю книгу...</source>
        <translation>&amp;Whole Book...</translation>
    </message>
    <message>
        <source>&amp;Группу на экране...</source>
        <translation>&amp;Group Shown...</translation>
    </message>
    <message>
        <source>В&amp;ыбранные записи...</source>
        <translation>&amp;Selected Entries...</translation>
    </message>
    <message numerus="yes">
        <source>Записей: %n</source>
        <translation>
            <numerusform>Entries: %n</numerusform>
            <numerusform>Entries: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>[Общая]</source>
        <translation>[General]</translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Внимание</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Запись с таким телефоном уже есть в книге.</source>
        <translation>An entry with this phone number is already in the book.</translation>
    </message>
    <message>
        <source>Вы хотите удалить этот телефон?</source>
        <translation>Delete this entry?</translation>
    </message>
    <message>
        <source>Вы хотите удалить эти телефоны?</source>
        <translation>Delete these entries?</translation>
    </message>
    <message>
        <source>Такая группа уже есть.</source>
        <translation>This group exists already.</translation>
    </message>
    <message>
        <source>Эта группа будет удалена со всем телефонами. Удалить?</source>
        <translation>This group will be deleted with all its entries. Delete it?</translation>
    </message>
    <message>
        <source>[Все группы]</source>
        <translation>[All groups]</translation>
    </message>
    <message>
        <source>Импорт контактов</source>
        <translation>Import Contacts</translation>
    </message>
    <message>
        <source>Все файлы (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>Экспорт контактов</source>
        <translation>Export Contacts</translation>
    </message>
    <message>
        <source>Ошибка записи %1!
%2</source>
        <translation>Error writing %1!
%2</translation>
    </message>
    <message>
        <source>Ст&amp;атус</source>
        <translation>&amp;Status</translation>
    </message>
    <message>
        <source>Удалить записи</source>
        <translation>Delete Entries</translation>
    </message>
    <message>
        <source>Син&amp;хронизировать с адресной книгой</source>
        <translation>S&amp;ync with the Address Book</translation>
    </message>
</context>
<context>
    <name>zrk::TReMind</name>
    <message>
        <source>&amp;Редактировать...</source>
        <translation>&amp;Edit Templates...</translation>
    </message>
</context>
<context>
    <name>zrk::TReminder</name>
    <message>
        <source>Напоминания</source>
        <translation>Reminders</translation>
    </message>
    <message>
        <source>Добавить запись</source>
        <translation>Add Reminder</translation>
    </message>
    <message>
        <source>Удалить запись</source>
        <translation>Delete Reminder</translation>
    </message>
    <message>
        <source>Свойства записи</source>
        <translation>Reminder Properties</translation>
    </message>
    <message>
        <source>Спрятать список</source>
        <translation>Hide List</translation>
    </message>
    <message>
        <source>&amp;Добавить...</source>
        <translation>&amp;Add...</translation>
    </message>
    <message>
        <source>&amp;Удалить</source>
        <translation>&amp;Delete</translation>
    </message>
    <message>
        <source>&amp;Свойства...</source>
        <translation>&amp;Properties...</translation>
    </message>
    <message numerus="yes">
        <source>Записей: %n</source>
        <translation>
            <numerusform>Entries: %n</numerusform>
            <numerusform>Entries: %n</numerusform>
        </translation>
    </message>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>Вы хотите удалить это напоминание?</source>
        <translation>Delete this reminder?</translation>
    </message>
    <message>
        <source>Вы хотите удалить эти напоминания?</source>
        <translation>Delete these reminders?</translation>
    </message>
    <message>
        <source>Удалить напоминание</source>
        <translation>Delete Reminder</translation>
    </message>
    <message>
        <source>Удалить напоминания</source>
        <translation>Delete Reminders</translation>
    </message>
</context>
<context>
    <name>zrk::TRusCID</name>
    <message>
        <source>Спрятать</source>
        <translation>Hide</translation>
    </message>
    <message>
        <source>Неизвестная ошибка</source>
        <translation>Unknown error</translation>
    </message>
    <message>
        <source> повтор через %1 сек</source>
        <translation> redial in %1 s</translation>
    </message>
    <message>
        <source>Линия %1</source>
        <translation>Line %1</translation>
    </message>
    <message>
        <source>%1 (линия %2)</source>
        <translation>%1 (line %2)</translation>
    </message>
    <message>
        <source>Текущее время</source>
        <translation>Current time</translation>
    </message>
    <message>
        <source>з</source>
        <translation>s</translation>
    </message>
    <message>
        <source>Звук</source>
        <translation>Sound</translation>
    </message>
    <message>
        <source>т</source>
        <translation>b</translation>
    </message>
    <message>
        <source>Телефонная книжка</source>
        <translation>Phone book</translation>
    </message>
    <message>
        <source>п</source>
        <translation>p</translation>
    </message>
    <message>
        <source>Порт</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>к</source>
        <translation>k</translation>
    </message>
    <message>
        <source>Панель кнопок</source>
        <translation>Button panel</translation>
    </message>
    <message>
        <source>звонок</source>
        <translation>ring</translation>
    </message>
    <message>
        <source>Таймер</source>
        <translation>Timer</translation>
    </message>
    <message>
        <source>Количество звонков</source>
        <translation>Number of calls</translation>
    </message>
    <message>
        <source>Список</source>
        <translation>Calls</translation>
    </message>
    <message>
        <source>Список звонков</source>
        <translation>Call list</translation>
    </message>
    <message>
        <source>Снять трубку</source>
        <translation>Answer</translation>
    </message>
    <message>
        <source>Сброс</source>
        <translation>Clear the number</translation>
    </message>
    <message>
        <source>Звонить</source>
        <translation>Call</translation>
    </message>
    <message>
        <source>Телефоны</source>
        <translation>Phone Book</translation>
    </message>
    <message>
        <source>Напоминания</source>
        <translation>Reminders</translation>
    </message>
    <message>
        <source>Открыть порт</source>
        <translation>Open Port</translation>
    </message>
    <message>
        <source>Закрыть порт</source>
        <translation>Close Port</translation>
    </message>
    <message>
        <source>&amp;Поверх других окон</source>
        <translation>Stay on &amp;Top</translation>
    </message>
    <message>
        <source>Панель &amp;кнопок</source>
        <translation>&amp;Button Panel</translation>
    </message>
    <message>
        <source>&amp;Часы</source>
        <translation>&amp;Clock</translation>
    </message>
    <message>
        <source>&amp;Телефонная книга</source>
        <translation>&amp;Phone Book</translation>
    </message>
    <message>
        <source>Напо&amp;минания</source>
        <translation>&amp;Reminders</translation>
    </message>
    <message>
        <source>&amp;Открыть порт</source>
        <translation>&amp;Open Port</translation>
    </message>
    <message>
        <source>&amp;Закрыть порт</source>
        <translation>C&amp;lose Port</translation>
    </message>
    <message>
        <source>&amp;Настройки...</source>
        <translation>&amp;Settings...</translation>
    </message>
    <message>
        <source>Вы&amp;ход</source>
        <translation>&amp;Quit</translation>
    </message>
    <message>
        <source>&amp;Набрать номер</source>
        <translation>&amp;Call</translation>
    </message>
    <message>
        <source>О&amp;пределить номер</source>
        <translation>&amp;Identify Number</translation>
    </message>
    <message>
        <source>&amp;Снять трубку</source>
        <translation>&amp;Answer</translation>
    </message>
    <message>
        <source>&amp;Добавить в книгу...</source>
        <translation>Add to Phone &amp;Book...</translation>
    </message>
    <message>
        <source>Добавить в напо&amp;минание...</source>
        <translation>Add Re&amp;minder...</translation>
    </message>
    <message>
        <source>* Нет модема *</source>
        <translation>* No modem *</translation>
    </message>
    <message>
        <source>Zrk: Нет модема</source>
        <translation>Zrk: No modem</translation>
    </message>
    <message>
        <source>&amp;История звонков...</source>
        <translation>Call &amp;History...</translation>
    </message>
    <message>
        <source>&amp;Спрятать</source>
        <translation>Hi&amp;de</translation>
    </message>
    <message>
        <source>&amp;Восстановить</source>
        <translation>R&amp;estore</translation>
    </message>
    <message>
        <source>Список напоминаний</source>
        <translation>Reminder list</translation>
    </message>
    <message>
        <source>Спрятать окно</source>
        <translation>Hide the window</translation>
    </message>
    <message>
        <source>Т&amp;аймер</source>
        <translation>T&amp;imer</translation>
    </message>
    <message>
        <source>О п&amp;рограмме...</source>
        <translation>&amp;About Zrk Pro...</translation>
    </message>
    <message>
        <source>Сб&amp;рос номера</source>
        <translation>C&amp;lear Number</translation>
    </message>
</context>
<context>
    <name>zrk::TWinAlert</name>
    <message>
        <source>Сообщение о звонке</source>
        <translation>Incoming Call</translation>
    </message>
    <message>
        <source>ФИО:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Номер:</source>
        <translation>Number:</translation>
    </message>
    <message>
        <source>Группа:</source>
        <translation>Group:</translation>
    </message>
    <message>
        <source>Ответить</source>
        <translation>Answer</translation>
    </message>
    <message>
        <source>Игнорировать</source>
        <translation>Ignore</translation>
    </message>
</context>
<context>
    <name>zrk::WindowPlacement</name>
    <message>
        <source>Ошибка</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>zrk::actions::CallActionRunner</name>
    <message>
        <source>Действие при звонке: «%1» — не адрес.</source>
        <translation>Call action: “%1” is not an address.</translation>
    </message>
    <message>
        <source>Действие при звонке: адрес %1 не открыт.</source>
        <translation>Call action: the address %1 could not be opened.</translation>
    </message>
    <message>
        <source>Действие при звонке: голос не работает: %1</source>
        <translation>Call action: the voice does not work: %1</translation>
    </message>
</context>
<context>
    <name>zrk::actions::ProgramRunner</name>
    <message>
        <source>Действие при звонке: программа «%1» не запущена: %2</source>
        <translation>Call action: the program “%1” was not started: %2</translation>
    </message>
    <message>
        <source>уже работают %1 программ действий</source>
        <translation>%1 action programs are already running</translation>
    </message>
</context>
<context>
    <name>zrk::contacts</name>
    <message>
        <source>Мобильный</source>
        <translation>Mobile</translation>
    </message>
    <message>
        <source>Домашний</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>Рабочий</source>
        <translation>Work</translation>
    </message>
    <message>
        <source>Факс</source>
        <translation>Fax</translation>
    </message>
    <message>
        <source>Рабочий факс</source>
        <translation>Work fax</translation>
    </message>
    <message>
        <source>Пейджер</source>
        <translation>Pager</translation>
    </message>
    <message>
        <source>Автомобильный</source>
        <translation>Car</translation>
    </message>
    <message>
        <source>Основной</source>
        <translation>Main</translation>
    </message>
    <message>
        <source>Другой</source>
        <translation>Other</translation>
    </message>
    <message>
        <source>ISDN</source>
        <translation>ISDN</translation>
    </message>
    <message>
        <source>Текстовый</source>
        <translation>Text phone</translation>
    </message>
</context>
<context>
    <name>zrk::contacts::Csv</name>
    <message>
        <source>Строка %1: %2.</source>
        <translation>Line %1: %2.</translation>
    </message>
    <message>
        <source>кавычка, открытая здесь, не закрыта</source>
        <translation>a quote opened here is not closed</translation>
    </message>
    <message>
        <source>в файле нет строки заголовка</source>
        <translation>the file has no header line</translation>
    </message>
    <message>
        <source>это не текстовый файл: в нём двоичные данные, а не строки таблицы</source>
        <translation>this is not a text file: it holds binary data, not the lines of a table</translation>
    </message>
</context>
<context>
    <name>zrk::contacts::ImportPlan</name>
    <message>
        <source>Имя</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Телефон</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Рабочий телефон</source>
        <translation>Work phone</translation>
    </message>
    <message>
        <source>Адрес</source>
        <translation>Address</translation>
    </message>
    <message>
        <source>Дополнительно</source>
        <translation>Notes</translation>
    </message>
    <message>
        <source>Не удалось открыть файл %1: %2</source>
        <translation>Could not open the file %1: %2</translation>
    </message>
    <message numerus="yes">
        <source>Пропущено строк, из которых нечего взять: %n (первая — %1)</source>
        <translation>
            <numerusform>%n line with nothing usable skipped (%1)</numerusform>
            <numerusform>%n lines with nothing usable skipped (the first: %1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Контактов без номера телефона (не добавлены): %n.</source>
        <translation>
            <numerusform>%n contact without a phone number (not added).</numerusform>
            <numerusform>%n contacts without a phone number (not added).</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Пропущено номеров без единой цифры (&quot;Privat&quot;, &quot;Work&quot;...): %n.</source>
        <translation>
            <numerusform>%n number without a single digit (&quot;Privat&quot;, &quot;Work&quot;...) skipped.</numerusform>
            <numerusform>%n numbers without a single digit (&quot;Privat&quot;, &quot;Work&quot;...) skipped.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Тексты, не поместившиеся в поля книги, обрезаны: записей %n.</source>
        <translation>
            <numerusform>Texts too long for the book&apos;s fields were cut in %n entry.</numerusform>
            <numerusform>Texts too long for the book&apos;s fields were cut in %n entries.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Буквы, которых нет в кодировке книги (Windows-1251), заменены на &quot;?&quot;: записей %n.</source>
        <translation>
            <numerusform>Letters the book&apos;s code page (Windows-1251) lacks were replaced with &quot;?&quot; in %n entry.</numerusform>
            <numerusform>Letters the book&apos;s code page (Windows-1251) lacks were replaced with &quot;?&quot; in %n entries.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Номера других стран записаны с выходом на международную линию 810: записей %n.</source>
        <translation>
            <numerusform>Numbers of other countries were written with the international exit code 810 in %n entry.</numerusform>
            <numerusform>Numbers of other countries were written with the international exit code 810 in %n entries.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>zrk::contacts::VCard</name>
    <message>
        <source>карточка не закончена (нет END:VCARD)</source>
        <translation>the card is not finished (no END:VCARD)</translation>
    </message>
    <message>
        <source>Строка 1: это не файл vCard (нет строки BEGIN:VCARD).</source>
        <translation>Line 1: this is not a vCard file (no BEGIN:VCARD line).</translation>
    </message>
    <message>
        <source>Строка %1: %2.</source>
        <translation>Line %1: %2.</translation>
    </message>
    <message>
        <source>строка без двоеточия внутри карточки</source>
        <translation>a line without a colon inside a card</translation>
    </message>
</context>
</TS>
